// The page side of the web display back-end (web_display.cpp): canvases for the windows, the
// page's input turned into records for the window system, the clock and the sleep.
// The page gives Module.vorlaScreen, the element that holds the canvases, and may give
// Module.vorlaClosed, called when the program has closed the display.
mergeInto(LibraryManager.library, {
  $VORLA: {
    origin: null,
    windows: {},     // window id -> canvas
    order: [],       // window ids in the order they were made
    inputs: [],      // records waiting for display_poll: [kind, window, a, b, c]
    held: {},        // virtual-key codes held down, for auto-repeat and focus loss
    wake: null,      // ends the current sleep
    sleeping: false,

    // Windows' virtual-key codes by KeyboardEvent.code, from the keyboard table the program
    // hands over when it opens the display (vorla_web_key_codes).
    codes: {},
    vk: function(code) {
      return VORLA.codes[code] || 0;
    },

    // Keys whose browser action would take the page away from the program: the Ctrl and Alt
    // combinations (Ctrl+R reloads, Ctrl+P prints), F10, and the keys that move focus or scroll.
    kept: ['AltLeft', 'AltRight', 'F10', 'Backspace', 'Tab', 'Space', 'ArrowLeft', 'ArrowUp',
           'ArrowRight', 'ArrowDown'],
    keep: function(event) {
      return event.ctrlKey || event.altKey || VORLA.kept.indexOf(event.code) >= 0;
    },

    post: function(record) {
      VORLA.inputs.push(record);
      if (VORLA.wake) {
        var wake = VORLA.wake;
        VORLA.wake = null;
        // The program runs on after the handler, not inside it.
        Promise.resolve().then(wake);
      }
    },

    // The keyboard belongs to the page while it has focus; the canvas a key goes to is the
    // canvas last clicked, or the first window.
    focus: null,

    listenKeys: function() {
      if (VORLA.listening) return;
      VORLA.listening = true;
      var target = function() {
        if (VORLA.focus !== null && VORLA.windows[VORLA.focus]) return VORLA.focus;
        return VORLA.order.length ? VORLA.order[0] : null;
      };
      document.addEventListener('keydown', function(event) {
        var vk = VORLA.vk(event.code);
        var window = target();
        if (vk === 0 || window === null) return;
        if (VORLA.keep(event)) event.preventDefault();
        var repeat = event.repeat || VORLA.held[vk] === true;
        VORLA.held[vk] = true;
        VORLA.post([4, window, vk, repeat ? 1 : 0, 0]);
      });
      document.addEventListener('keyup', function(event) {
        var vk = VORLA.vk(event.code);
        var window = target();
        if (vk === 0 || window === null) return;
        if (VORLA.keep(event)) event.preventDefault();
        delete VORLA.held[vk];
        VORLA.post([5, window, vk, 0, 0]);
      });
      window.addEventListener('blur', function() {
        VORLA.held = {};
        VORLA.post([6, 0, 0, 0, 0]);
      });
    },

    position: function(canvas, event) {
      var box = canvas.getBoundingClientRect();
      var x = Math.floor((event.clientX - box.left) * canvas.width / box.width);
      var y = Math.floor((event.clientY - box.top) * canvas.height / box.height);
      return [x, y];
    }
  },

  vorla_web_window_create__deps: ['$VORLA', 'vorla_web_now'],
  vorla_web_window_create: function(window, title, width, height) {
    VORLA.listenKeys();
    // For the page and its tests: whether the program is still working on input it was given,
    // and the program's clock.
    Module['vorlaBusy'] = function() { return !VORLA.sleeping || VORLA.inputs.length > 0; };
    Module['vorlaNow'] = function() { return _vorla_web_now(); };
    var canvas = document.createElement('canvas');
    canvas.width = Math.max(width, 1);
    canvas.height = Math.max(height, 1);
    canvas.title = UTF8ToString(title);
    canvas.className = 'vorla-window';
    canvas.tabIndex = 0;
    canvas.style.display = 'none';
    canvas.dataset.window = String(window);
    var button = function(event) {
      return event.button === 0 ? 0 : event.button === 2 ? 1 : -1;
    };
    canvas.addEventListener('mousedown', function(event) {
      var b = button(event);
      if (b < 0) return;
      event.preventDefault();
      canvas.focus();
      VORLA.focus = window;
      var p = VORLA.position(canvas, event);
      VORLA.post([1, window, p[0], p[1], b]);
    });
    canvas.addEventListener('mouseup', function(event) {
      var b = button(event);
      if (b < 0) return;
      var p = VORLA.position(canvas, event);
      VORLA.post([2, window, p[0], p[1], b]);
    });
    canvas.addEventListener('mousemove', function(event) {
      var p = VORLA.position(canvas, event);
      VORLA.post([3, window, p[0], p[1], 0]);
    });
    canvas.addEventListener('contextmenu', function(event) { event.preventDefault(); });
    VORLA.windows[window] = canvas;
    VORLA.order.push(window);
    (Module['vorlaScreen'] || document.body).appendChild(canvas);
  },

  vorla_web_window_destroy__deps: ['$VORLA'],
  vorla_web_window_destroy: function(window) {
    var canvas = VORLA.windows[window];
    if (!canvas) return;
    canvas.remove();
    delete VORLA.windows[window];
    VORLA.order = VORLA.order.filter(function(id) { return id !== window; });
  },

  vorla_web_window_show__deps: ['$VORLA'],
  vorla_web_window_show: function(window, visible) {
    var canvas = VORLA.windows[window];
    if (canvas) canvas.style.display = visible ? 'block' : 'none';
  },

  vorla_web_window_present__deps: ['$VORLA'],
  vorla_web_window_present: function(window, pixels, width, height, stride) {
    var canvas = VORLA.windows[window];
    if (!canvas) return;
    if (canvas.width !== width || canvas.height !== height) {
      canvas.width = width;
      canvas.height = height;
    }
    var context = canvas.getContext('2d');
    var image = context.createImageData(width, height);
    var out = image.data;
    var source = HEAPU32;
    var base = pixels >> 2;
    var i = 0;
    for (var y = 0; y < height; ++y) {
      var row = base + y * stride;
      for (var x = 0; x < width; ++x) {
        var p = source[row + x];
        out[i++] = (p >> 16) & 0xFF;
        out[i++] = (p >> 8) & 0xFF;
        out[i++] = p & 0xFF;
        out[i++] = 0xFF;
      }
    }
    context.putImageData(image, 0, 0);
    if (!Module['vorlaFirstFrame']) Module['vorlaFirstFrame'] = performance.now();
  },

  vorla_web_now__deps: ['$VORLA'],
  vorla_web_now: function() {
    if (VORLA.origin === null) VORLA.origin = performance.now();
    return Math.floor(performance.now() - VORLA.origin);
  },

  vorla_web_sleep__deps: ['$VORLA', '$Asyncify'],
  vorla_web_sleep: function(ms, forever) {
    // Called a second time when the program resumes: handleSleep must see that call too.
    return Asyncify.handleSleep(function(wakeUp) {
      if (VORLA.inputs.length) {
        wakeUp();  // input came while the program was busy: no sleep at all
        return;
      }
      var timer = null;
      VORLA.sleeping = true;
      VORLA.wake = function() {
        VORLA.sleeping = false;
        VORLA.wake = null;
        if (timer !== null) clearTimeout(timer);
        wakeUp();
      };
      if (!forever) {
        timer = setTimeout(function() {
          timer = null;
          if (VORLA.wake) VORLA.wake();
        }, ms);
      }
      if (Module['vorlaIdle']) Module['vorlaIdle']();
    });
  },

  vorla_web_next_input__deps: ['$VORLA'],
  vorla_web_next_input: function(fields) {
    var record = VORLA.inputs.shift();
    if (!record) return 0;
    for (var i = 0; i < 5; ++i) HEAP32[(fields >> 2) + i] = record[i];
    return 1;
  },

  vorla_web_key_codes__deps: ['$VORLA'],
  vorla_web_key_codes: function(codes, vks, count) {
    VORLA.codes = {};
    for (var i = 0; i < count; ++i) {
      VORLA.codes[UTF8ToString(HEAPU32[(codes >> 2) + i])] = HEAP32[(vks >> 2) + i];
    }
  },

  vorla_web_closed__deps: ['$VORLA'],
  vorla_web_closed: function() {
    for (var id in VORLA.windows) VORLA.windows[id].remove();
    VORLA.windows = {};
    VORLA.order = [];
    VORLA.inputs = [];
    VORLA.sleeping = true;  // for good: nothing will wake the program again
    if (Module['vorlaClosed']) Module['vorlaClosed']();
  }
});

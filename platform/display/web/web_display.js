// The page side of the web display back-end (web_display.cpp): canvases for the windows, the
// page's input turned into records for the window system, the clock and the sleep.
// The page gives Module.vorlaScreen, the element that holds the canvases, and may give
// Module.vorlaArrange, called when a canvas is made, shown, hidden, resized or removed (the page
// sizes the canvases on the screen: a canvas's size in the page is free, its pixels are the
// window's), and Module.vorlaClosed, called when the program has closed the display.
//
// $VORLA's canvases and input work on plain JavaScript values, so that a page whose program runs
// in a worker (the playground, web/playground/) loads this same file as a script, with a
// mergeInto of its own, takes LibraryManager.library.$VORLA as VORLA and replaces VORLA.post to
// send each input record to the worker; the vorla_web_ functions below are emscripten's binding
// to the program's memory.
mergeInto(LibraryManager.library, {
  $VORLA: {
    origin: null,
    windows: {},     // window id -> canvas
    order: [],       // window ids in the order they were made
    inputs: [],      // records waiting for display_poll: [kind, window, a, b, c]
    held: {},        // virtual-key codes held down, for auto-repeat and focus loss
    wake: null,      // ends the current sleep
    sleeping: false,
    closed: false,   // the program has closed the display
    turns: 0,        // how often the busy program gave the page its turn
    channel: null,   // brings the program back after a turn
    resume: null,

    // Windows' virtual-key codes by KeyboardEvent.code, from the keyboard table the program
    // hands over when it opens the display (vorla_web_key_codes).
    codes: {},
    // A letter key's code is the letter the user's layout types with it, as Windows gives it
    // (the key left of Z on a French keyboard is A): learned from the key's KeyboardEvent.key,
    // so that it holds while Shift, Ctrl or AltGr change what the key types.
    letters: {},
    vk: function(event) {
      if (/^[a-zA-Z]$/.test(event.key) && !VORLA.altGraph) {
        VORLA.letters[event.code] = event.key.toUpperCase().charCodeAt(0);
      }
      return VORLA.letters[event.code] || VORLA.codes[event.code] || 0;
    },
    // What a key typed, as one code point, 0 for none: KeyboardEvent.key when it is a character
    // (named keys such as Enter or Dead type nothing here; Enter's, Tab's and Ctrl+letter's
    // control characters come from the key, as on Windows).
    typed: function(event) {
      var chars = Array.from(event.key);
      if (chars.length !== 1 || (event.ctrlKey && !event.altKey)) return 0;
      return chars[0].codePointAt(0);
    },
    // AltGr comes as Ctrl and Alt, as on Windows (where the browser gives it as AltGraph).
    altGraph: false,
    down: {},  // KeyboardEvent.code -> the virtual-key code its key went down with

    // Keys whose browser action would take the page away from the program while a canvas has
    // the keyboard: the Ctrl and Alt combinations (Ctrl+R reloads, Ctrl+P prints), F10, and the
    // keys that scroll or go back.
    kept: ['AltLeft', 'AltRight', 'F10', 'Backspace', 'Space', 'ArrowLeft', 'ArrowUp',
           'ArrowRight', 'ArrowDown'],
    keep: function(event) {
      return event.ctrlKey || event.altKey || VORLA.kept.indexOf(event.code) >= 0;
    },
    // Keys that are the browser's alone, neither kept from it nor given to the program: Tab and
    // Shift+Tab move the focus on through the page, and Ctrl (Cmd) with = + - 0 zooms.
    zoomCodes: ['Equal', 'Minus', 'Digit0', 'NumpadAdd', 'NumpadSubtract', 'Numpad0'],
    zoomKeys: ['=', '+', '-', '_', '0'],
    browserKey: function(event) {
      if (event.code === 'Tab') return true;
      return (event.ctrlKey || event.metaKey) && !event.altKey &&
          (VORLA.zoomCodes.indexOf(event.code) >= 0 || VORLA.zoomKeys.indexOf(event.key) >= 0);
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

    // Keys go to the window whose canvas has the keyboard focus, and to no window while the
    // focus is elsewhere in the page. Keys held when the canvas loses the focus are let go.
    // The keyboard focus of a canvas is an unseen text field of its own (`keys`), which stands
    // in its place in the page's Tab order: only where text can be typed does the browser hand
    // over what the user's input method composes (a dead key and a letter), as composition
    // events; the field itself keeps no text.
    listenKeys: function(keys, canvas, id) {
      var press = function(vk, event, text) {
        var repeat = event.repeat || VORLA.held[vk] === true;
        VORLA.held[vk] = true;
        VORLA.post([4, id, vk, repeat ? 1 : 0, text]);
      };
      var release = function(vk) {
        if (!VORLA.held[vk]) return;
        delete VORLA.held[vk];
        VORLA.post([5, id, vk, 0, 0]);
      };
      keys.addEventListener('keydown', function(event) {
        // A key the input method takes: what it makes comes as a composition.
        if (event.isComposing || event.keyCode === 229) return;
        if (VORLA.browserKey(event)) return;
        if (event.key === 'AltGraph') {
          event.preventDefault();
          VORLA.altGraph = true;
          if (!VORLA.held[17]) press(17, event, 0);
          press(18, event, 0);
          return;
        }
        var vk = VORLA.vk(event);
        if (vk === 0) return;
        event.preventDefault();
        VORLA.down[event.code] = vk;
        press(vk, event, VORLA.typed(event));
      });
      keys.addEventListener('keyup', function(event) {
        if (event.key === 'AltGraph' || (VORLA.altGraph && event.code === 'AltRight')) {
          event.preventDefault();
          VORLA.altGraph = false;
          release(18);
          release(17);
          return;
        }
        var vk = VORLA.down[event.code] || VORLA.vk(event);
        delete VORLA.down[event.code];
        if (VORLA.held[vk]) event.preventDefault();
        release(vk);
      });
      keys.addEventListener('compositionend', function(event) {
        Array.from(event.data || '').forEach(function(c) {
          VORLA.post([8, id, c.codePointAt(0), 0, 0]);
        });
        setTimeout(function() { keys.value = ''; });
      });
      keys.addEventListener('input', function(event) {
        if (!event.isComposing) keys.value = '';
      });
      // The canvas shows the focus ring while its keys have the focus, unless the program or a
      // click put it there.
      keys.addEventListener('focus', function() {
        canvas.classList.toggle('vorla-focus', !VORLA.quietFocus);
      });
      keys.addEventListener('blur', function() {
        canvas.classList.remove('vorla-focus');
        VORLA.letGo();
      });
      canvas.addEventListener('focus', function() { VORLA.focus(canvas); });
      if (VORLA.listening) return;
      VORLA.listening = true;
      window.addEventListener('blur', VORLA.letGo);
    },
    letGo: function() {
      VORLA.held = {};
      VORLA.down = {};
      VORLA.altGraph = false;
      VORLA.post([6, 0, 0, 0, 0]);
    },

    // The mouse, a pen or a finger: one pointer at a time (the first finger of several), its
    // positions in picture pixels whatever size the page gives the canvas. A tap is a click
    // with the left button. The canvas keeps the pointer while a button is down (as the
    // desktop does), so positions outside it can come.
    pointer: null,     // the id of the pointer with a button down, or null (the last down wins)
    last: [0, 0],      // its last position
    position: function(canvas, event) {
      var box = canvas.getBoundingClientRect();
      var x = Math.floor((event.clientX - box.left) * canvas.width / box.width);
      var y = Math.floor((event.clientY - box.top) * canvas.height / box.height);
      return VORLA.last = [x, y];
    },
    // Left 0, right 1, others -1, by PointerEvent.button; and that button's bit in `buttons`.
    button: function(event) {
      return event.button === 0 ? 0 : event.button === 2 ? 1 : -1;
    },
    bits: [1, 2],
    listenPointer: function(canvas, id) {
      var ours = function(event) {
        return event.isPrimary && (VORLA.pointer === null || VORLA.pointer === event.pointerId);
      };
      canvas.addEventListener('pointerdown', function(event) {
        var b = VORLA.button(event);
        if (b < 0 || !event.isPrimary) return;
        event.preventDefault();
        VORLA.focus(canvas);
        VORLA.pointer = event.pointerId;
        canvas.setPointerCapture(event.pointerId);
        var p = VORLA.position(canvas, event);
        VORLA.post([1, id, p[0], p[1], b]);
      });
      canvas.addEventListener('pointermove', function(event) {
        if (!ours(event)) return;
        var p = VORLA.position(canvas, event);
        // A second mouse button pressed or let go while one is down comes as a move.
        var b = VORLA.button(event);
        if (b >= 0) {
          VORLA.post([event.buttons & VORLA.bits[b] ? 1 : 2, id, p[0], p[1], b]);
        } else {
          VORLA.post([3, id, p[0], p[1], 0]);
        }
      });
      canvas.addEventListener('pointerup', function(event) {
        if (VORLA.pointer !== event.pointerId) return;
        if (!event.buttons) VORLA.pointer = null;
        var b = VORLA.button(event);
        if (b < 0) return;
        var p = VORLA.position(canvas, event);
        VORLA.post([2, id, p[0], p[1], b]);
      });
      // The browser took the pointer away (a touch that became a system gesture): the left
      // button is let go where the pointer last was.
      canvas.addEventListener('pointercancel', function(event) {
        if (VORLA.pointer !== event.pointerId) return;
        VORLA.pointer = null;
        VORLA.post([2, id, VORLA.last[0], VORLA.last[1], 0]);
      });
      // Capture ends with the last button, or when the canvas goes away under the pointer.
      canvas.addEventListener('lostpointercapture', function(event) {
        if (VORLA.pointer === event.pointerId) VORLA.pointer = null;
      });
      canvas.addEventListener('contextmenu', function(event) { event.preventDefault(); });
    },

    // The keyboard to a canvas, with no focus ring: the ring is for moving the focus by keys.
    quietFocus: false,
    focus: function(canvas) {
      var keys = canvas.vorlaKeys;
      if (!keys || document.activeElement === keys) return;
      VORLA.quietFocus = true;
      keys.focus({preventScroll: true});
      VORLA.quietFocus = false;
    },

    // The page is going (closed or hidden): the program takes what input came and ends its
    // session now, inside the caller's event, and is back in its sleep or turn when this
    // returns.
    endSession: function() {
      if (VORLA.closed) return;
      VORLA.inputs.push([7, 0, 0, 0, 0]);
      if (VORLA.wake) {
        VORLA.wake();
      } else if (VORLA.resume) {
        var resume = VORLA.resume;
        VORLA.resume = null;
        resume();
      }
    },

    goOn: function() {
      var resume = function() {
        var wakeUp = VORLA.resume;
        VORLA.resume = null;
        if (wakeUp) wakeUp();
      };
      if (typeof scheduler === 'object' && scheduler.postTask) {
        scheduler.postTask(resume, {priority: 'background'});
        return;
      }
      if (!VORLA.channel) {
        VORLA.channel = new MessageChannel();
        VORLA.channel.port1.onmessage = resume;
      }
      VORLA.channel.port2.postMessage(0);
    },

    arrange: function() {
      if (Module['vorlaArrange']) Module['vorlaArrange']();
    },

    // A canvas for a new window, hidden until shown, with the listeners for its input.
    createWindow: function(window, title, width, height) {
      var canvas = document.createElement('canvas');
      canvas.width = Math.max(width, 1);
      canvas.height = Math.max(height, 1);
      canvas.title = title;
      canvas.className = 'vorla-window';
      canvas.tabIndex = -1;  // its keys stand in its place in the Tab order
      canvas.style.display = 'none';
      canvas.dataset.window = String(window);
      var keys = document.createElement('textarea');
      keys.className = 'vorla-keys';
      keys.setAttribute('aria-label', canvas.title);
      keys.setAttribute('autocomplete', 'off');
      keys.setAttribute('autocapitalize', 'off');
      keys.setAttribute('inputmode', 'none');  // no on-screen keyboard over the picture
      keys.spellcheck = false;
      keys.disabled = true;  // until the canvas is shown
      keys.style.cssText = 'position: fixed; left: 0; top: 0; width: 1px; height: 1px; ' +
          'opacity: 0; border: 0; padding: 0; resize: none; overflow: hidden; ' +
          'pointer-events: none; font-size: 16px';
      canvas.vorlaKeys = keys;
      VORLA.listenKeys(keys, canvas, window);
      VORLA.listenPointer(canvas, window);
      VORLA.windows[window] = canvas;
      VORLA.order.push(window);
      var screen = Module['vorlaScreen'] || document.body;
      screen.appendChild(canvas);
      screen.appendChild(keys);
      VORLA.arrange();
    },

    destroyWindow: function(window) {
      var canvas = VORLA.windows[window];
      if (!canvas) return;
      canvas.remove();
      canvas.vorlaKeys.remove();
      delete VORLA.windows[window];
      VORLA.order = VORLA.order.filter(function(id) { return id !== window; });
      VORLA.arrange();
    },

    showWindow: function(window, visible) {
      var canvas = VORLA.windows[window];
      if (!canvas) return;
      canvas.style.display = visible ? 'block' : 'none';
      canvas.vorlaKeys.disabled = !visible;
      VORLA.arrange();
      // The first window shown takes the keyboard, unless the page's own controls have it.
      var focused = document.activeElement;
      if (visible && window === VORLA.order[0] && (!focused || focused === document.body)) {
        VORLA.focus(canvas);
      }
    },

    // Paints a frame into the window's canvas: `height` rows of `width` 0x00RRGGBB words, `stride`
    // words apart, from word `base` of `source` (a Uint32Array).
    paint: function(window, source, base, width, height, stride) {
      var canvas = VORLA.windows[window];
      if (!canvas) return;
      if (canvas.width !== width || canvas.height !== height) {
        canvas.width = width;
        canvas.height = height;
        VORLA.arrange();
      }
      // One image per canvas, filled in place: 0x00RRGGBB words to R, G, B, A bytes (the words
      // of a little-endian machine, as every browser runs on).
      if (!canvas.vorlaImage || canvas.vorlaImage.width !== width ||
          canvas.vorlaImage.height !== height) {
        canvas.vorlaImage = new ImageData(width, height);
        canvas.vorlaWords = new Uint32Array(canvas.vorlaImage.data.buffer);
      }
      var image = canvas.vorlaImage;
      var out = canvas.vorlaWords;
      var i = 0;
      for (var y = 0; y < height; ++y) {
        var row = base + y * stride;
        for (var x = 0; x < width; ++x) {
          var p = source[row + x];
          out[i++] = 0xFF000000 | (p & 0xFF) << 16 | (p & 0xFF00) | (p >>> 16) & 0xFF;
        }
      }
      var context = canvas.getContext('2d');
      context.putImageData(image, 0, 0);
      if (!Module['vorlaFirstFrame']) Module['vorlaFirstFrame'] = performance.now();
    },

    // The program has closed the display: its canvases go.
    removeWindows: function() {
      for (var id in VORLA.windows) {
        VORLA.windows[id].vorlaKeys.remove();
        VORLA.windows[id].remove();
      }
      VORLA.windows = {};
      VORLA.order = [];
    }
  },

  vorla_web_window_create__deps: ['$VORLA', 'vorla_web_now'],
  vorla_web_window_create: function(window, title, width, height) {
    // For the page and its tests: whether the program is still working on input it was given,
    // and the program's clock.
    Module['vorlaBusy'] = function() { return !VORLA.sleeping || VORLA.inputs.length > 0; };
    Module['vorlaNow'] = function() { return _vorla_web_now(); };
    Module['vorlaTurns'] = function() { return VORLA.turns; };
    Module['vorlaEndSession'] = VORLA.endSession;
    VORLA.createWindow(window, UTF8ToString(title), width, height);
  },

  vorla_web_window_destroy__deps: ['$VORLA'],
  vorla_web_window_destroy: function(window) {
    VORLA.destroyWindow(window);
  },

  vorla_web_window_show__deps: ['$VORLA'],
  vorla_web_window_show: function(window, visible) {
    VORLA.showWindow(window, visible);
  },

  vorla_web_window_present__deps: ['$VORLA'],
  vorla_web_window_present: function(window, pixels, width, height, stride) {
    VORLA.paint(window, HEAPU32, pixels >> 2, width, height, stride);
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
      // A turn (forever 2): the program is busy, not waiting. The page runs its queued tasks
      // (input, timers, painting) and the program goes on in a task of its own after them: a
      // task of the lowest priority where the browser has them, so that the page's own timers
      // are not held back behind it, else a message; never a timer, so that a clock that stands
      // still (the test's) cannot hold it.
      if (forever === 2) {
        ++VORLA.turns;
        VORLA.resume = wakeUp;
        VORLA.goOn();
        return;
      }
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
    VORLA.removeWindows();
    VORLA.inputs = [];
    VORLA.sleeping = true;  // for good: nothing will wake the program again
    VORLA.closed = true;
    if (Module['vorlaClosed']) Module['vorlaClosed']();
  }
});

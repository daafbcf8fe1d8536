/* VORLA's header lies in include/vorla/ with the header it needs; this one lets a program
   that includes "vorla.h" find it without -I. */
#include "vorla/vorla.h"

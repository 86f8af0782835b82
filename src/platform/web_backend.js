// The page side of the browser backend (web_backend.cpp): the canvas, the key events of the
// page, the gamepads, the mouse and Pointer Lock, full screen, the cursor, Web Audio and the
// storage of the saved files. Linked into the game with --js-library.

var LibraryPlonkixWeb = {
  $PlonkixWeb: {
    canvas: null,
    context: null,
    image: null,
    painted: false,
    // The page's keys for the event pump; the pads and the mouse are read as states instead.
    events: [],      // [type (0 down, 1 up), SDL 2 key code, SDL modifier bits]
    held: {},        // KeyboardEvent.code -> the key code sent on its key-down
    modifiers: 0,
    wantFullscreen: false,
    leftFullscreen: false,
    audioOpen: false,
    audio: null,     // the AudioContext, made at the first key press (browsers start sound only then)
    channels: [],    // {gain, source} per mixing channel
    channelCount: 0,
    sounds: [],      // {bytes, buffer}

    // Joypad 1 and 2: the Gamepad API index of the pad each holds, or null.
    padSlots: [null, null],
    // The standard mapping's buttons, with the bits the game gives them (backend.h): A, B,
    // Start, d-pad up, down, left, right.
    standardButtons: [[0, 1], [1, 2], [9, 4], [12, 8], [13, 16], [14, 32], [15, 64]],

    // The mouse: the last pointer event over the page, in client coordinates.
    mouse: {known: false, x: 0, y: 0, buttons: 0},
    // While a human plays with the mouse the pointer is captured: the movements add up into a
    // pointer of the game's own (picture coordinates) that WarpPointer puts back, and Pointer
    // Lock keeps the real one on the canvas once the browser grants it.
    captured: false,
    lockWanted: false,  // asked for again at the next click or key (browsers want a gesture)
    virtualX: 320,
    virtualY: 200,
    warped: null,       // outside capture: [x, y] where WarpPointer put it, until it moves

    // KeyboardEvent.code -> SDL 2 scancode (the USB keyboard usage numbers).
    scancodes: null,
    // SDL 2 scancode -> the character an unshifted US keyboard gives, for the character keys.
    characters: null,
    modifierBits: {
      ShiftLeft: 0x0001, ShiftRight: 0x0002, ControlLeft: 0x0040, ControlRight: 0x0080,
      AltLeft: 0x0100, AltRight: 0x0200, MetaLeft: 0x0400, MetaRight: 0x0800,
    },

    makeTables: function() {
      var s = {}, c = {};
      for (var i = 0; i < 26; ++i) {
        s['Key' + String.fromCharCode(65 + i)] = 4 + i;
        c[4 + i] = String.fromCharCode(97 + i);
      }
      for (var d = 1; d <= 9; ++d) {
        s['Digit' + d] = 29 + d;
        c[29 + d] = String(d);
        s['Numpad' + d] = 88 + d;
      }
      s['Digit0'] = 39;
      c[39] = '0';
      s['Numpad0'] = 98;
      for (var f = 1; f <= 12; ++f) s['F' + f] = 57 + f;
      for (var f = 13; f <= 24; ++f) s['F' + f] = 91 + f;
      var named = {
        Enter: 40, Escape: 41, Backspace: 42, Tab: 43, Space: 44, Minus: 45, Equal: 46,
        BracketLeft: 47, BracketRight: 48, Backslash: 49, Semicolon: 51, Quote: 52,
        Backquote: 53, Comma: 54, Period: 55, Slash: 56, CapsLock: 57, PrintScreen: 70,
        ScrollLock: 71, Pause: 72, Insert: 73, Home: 74, PageUp: 75, Delete: 76, End: 77,
        PageDown: 78, ArrowRight: 79, ArrowLeft: 80, ArrowDown: 81, ArrowUp: 82, NumLock: 83,
        NumpadDivide: 84, NumpadMultiply: 85, NumpadSubtract: 86, NumpadAdd: 87,
        NumpadEnter: 88, NumpadDecimal: 99, IntlBackslash: 100, ContextMenu: 101, Power: 102,
        NumpadEqual: 103, Help: 117, Undo: 122, ControlLeft: 224, ShiftLeft: 225, AltLeft: 226,
        MetaLeft: 227, ControlRight: 228, ShiftRight: 229, AltRight: 230, MetaRight: 231,
      };
      for (var k in named) s[k] = named[k];
      var chars = {
        40: '\r', 41: '\x1b', 42: '\b', 43: '\t', 44: ' ', 45: '-', 46: '=', 47: '[', 48: ']',
        49: '\\', 51: ';', 52: "'", 53: '`', 54: ',', 55: '.', 56: '/', 76: '\x7f', 100: '<',
      };
      for (var k in chars) c[k] = chars[k];
      PlonkixWeb.scancodes = s;
      PlonkixWeb.characters = c;
    },

    // The SDL 2 key code of a key: its character for the character keys (the layout's own,
    // unshifted, as far as the event tells it), otherwise the scancode with bit 30 set.
    keyCodeOf: function(e, scancode) {
      var base = PlonkixWeb.characters[scancode];
      if (base === undefined) return scancode | (1 << 30);
      if (scancode >= 40 && scancode <= 44 || scancode == 76) return base.charCodeAt(0);
      var key = e.key;
      if (typeof key == 'string' && key.length == 1) {
        var lower = key.toLowerCase();
        var plain = !e.shiftKey && !e.ctrlKey && !e.altKey && !e.metaKey &&
            !(e.getModifierState && e.getModifierState('AltGraph'));
        if (plain || lower != key) {
          var code = lower.codePointAt(0);
          if (code > 32 && code != 127) return code;
        }
      }
      return base.charCodeAt(0);
    },

    onKey: function(e, down) {
      var w = PlonkixWeb;
      var bit = w.modifierBits[e.code];
      if (bit) w.modifiers = down ? (w.modifiers | bit) : (w.modifiers & ~bit);
      // The page keeps the keys the game may use from scrolling or leaving it; browser
      // shortcuts with Ctrl or Meta and the function keys stay the browser's.
      if (!e.ctrlKey && !e.metaKey && !/^F\d+$/.test(e.code)) e.preventDefault();
      if (down) w.startAudio();
      if (down && w.lockWanted) w.requestLock();
      if (down && e.repeat) return;
      var scancode = w.scancodes[e.code];
      if (scancode === undefined) return;
      var key;
      if (down) {
        key = w.keyCodeOf(e, scancode);
        w.held[e.code] = key;
      } else {
        key = w.held[e.code];
        if (key === undefined) return;
        delete w.held[e.code];
      }
      var mod = w.modifiers;
      if (e.getModifierState && e.getModifierState('NumLock')) mod |= 0x1000;
      if (e.getModifierState && e.getModifierState('CapsLock')) mod |= 0x2000;
      w.events.push([down ? 0 : 1, key, mod]);
    },

    // The page lost the keyboard: every held key is released, as a window losing focus does.
    onBlur: function() {
      var w = PlonkixWeb;
      for (var code in w.held) w.events.push([1, w.held[code], 0]);
      w.held = {};
      w.modifiers = 0;
      w.mouse.buttons = 0;
    },

    gamepads: function() {
      try {
        return navigator.getGamepads ? Array.from(navigator.getGamepads() || []) : [];
      } catch (e) {  // not allowed on this page
        return [];
      }
    },
    padAt: function(list, index) {
      for (var i = 0; i < list.length; ++i) {
        var g = list[i];
        if (g && g.connected !== false && g.index === index) return g;
      }
      return null;
    },
    // A slot whose pad is gone is free; every free slot takes the first connected pad that has
    // none, so a pad plugged in later, or one waiting beyond the first two, moves up as one goes.
    fillPadSlots: function(list) {
      var slots = PlonkixWeb.padSlots;
      for (var s = 0; s < slots.length; ++s)
        if (slots[s] !== null && !PlonkixWeb.padAt(list, slots[s])) slots[s] = null;
      list.forEach(function(g) {
        if (!g || g.connected === false || slots.indexOf(g.index) >= 0) return;
        var free = slots.indexOf(null);
        if (free >= 0) slots[free] = g.index;
      });
    },
    // -1..1 to -32767..32767; anything else a broken device reports rests at 0.
    stick: function(value) {
      var v = Number(value);
      if (!isFinite(v)) return 0;
      return Math.round(Math.max(-1, Math.min(1, v)) * 32767);
    },
    pressed: function(button) {
      if (button === null || button === undefined) return false;
      return typeof button == 'object' ? !!button.pressed : Number(button) > 0.5;
    },
    // [connected, stick x, stick y, button bits]: the standard mapping's left stick, A, B, Start
    // and d-pad; a pad of another mapping gives its axes 0 and 1 and buttons 0 and 1 as A and B.
    padReading: function(g) {
      var w = PlonkixWeb;
      if (!g) return [0, 0, 0, 0];
      var axes = g.axes || [], buttons = g.buttons || [], bits = 0;
      var map = g.mapping == 'standard' ? w.standardButtons : [[0, 1], [1, 2]];
      map.forEach(function(b) {
        if (w.pressed(buttons[b[0]])) bits |= b[1];
      });
      return axes.length >= 2 ? [1, w.stick(axes[0]), w.stick(axes[1]), bits] : [1, 0, 0, bits];
    },

    // A client position through the canvas's place and scale on the page to the picture.
    toPicture: function(clientX, clientY) {
      var r = PlonkixWeb.canvas.getBoundingClientRect();
      if (!(r.width > 0 && r.height > 0)) return [320, 200];
      var x = Math.floor((clientX - r.left) * 640 / r.width);
      var y = Math.floor((clientY - r.top) * 400 / r.height);
      return [Math.max(0, Math.min(639, x)), Math.max(0, Math.min(399, y))];
    },
    freePointer: function() {
      var w = PlonkixWeb;
      if (w.warped) return w.warped;
      return w.mouse.known ? w.toPicture(w.mouse.x, w.mouse.y) : [320, 200];
    },
    onMouse: function(e) {
      var w = PlonkixWeb;
      w.mouse.buttons = e.buttons & 7;
      if (e.type == 'mousedown') {
        w.startAudio();
        if (w.lockWanted) w.requestLock();
      }
      if (e.type != 'mousemove') return;
      if (w.captured) {
        // Movements are in page pixels: in picture pixels they are the same whatever the scale.
        var r = w.canvas.getBoundingClientRect();
        if (r.width > 0 && r.height > 0) {
          w.virtualX = Math.max(0, Math.min(639, w.virtualX + (e.movementX || 0) * 640 / r.width));
          w.virtualY = Math.max(0, Math.min(399, w.virtualY + (e.movementY || 0) * 400 / r.height));
        }
      }
      // Under Pointer Lock the client position stands still; it is used once the lock ends.
      if (document.pointerLockElement !== w.canvas) {
        w.mouse.known = true;
        w.mouse.x = e.clientX;
        w.mouse.y = e.clientY;
        w.warped = null;
      }
    },
    // The browser may refuse (no recent click or key, the player just left the lock): the game
    // plays on with the movements it sees, and the next click or key asks again.
    requestLock: function() {
      var w = PlonkixWeb;
      w.lockWanted = false;
      if (!w.captured || document.pointerLockElement === w.canvas || !w.canvas.requestPointerLock)
        return;
      try {
        var asked = w.canvas.requestPointerLock();
        if (asked && asked.catch) asked.catch(w.lockRefused);
      } catch (e) {
        w.lockRefused();
      }
    },
    lockRefused: function() {
      if (PlonkixWeb.captured) PlonkixWeb.lockWanted = true;
    },

    startAudio: function() {
      var w = PlonkixWeb;
      if (!w.audioOpen || w.audio) return;
      var Context = window.AudioContext || window.webkitAudioContext;
      try {
        w.audio = new Context();
      } catch (e) {
        w.audioOpen = false;
        return;
      }
      for (var i = 0; i < w.channelCount; ++i) w.addChannel();
      w.sounds.forEach(w.decode);
    },
    addChannel: function() {
      var w = PlonkixWeb;
      var gain = w.audio.createGain();
      gain.connect(w.audio.destination);
      w.channels.push({gain: gain, source: null});
    },
    decode: function(sound) {
      // A file the browser cannot decode stays silent, like a sound the mixer could not load.
      PlonkixWeb.audio.decodeAudioData(sound.bytes.slice().buffer).then(
          function(buffer) { sound.buffer = buffer; }, function() {});
    },
  },

  plonkix_web_set_caption: function(caption) {
    document.title = UTF8ToString(caption);
  },

  plonkix_web_open_canvas: function(fullscreen) {
    var w = PlonkixWeb;
    if (!w.canvas) {
      w.makeTables();
      w.canvas = document.getElementById('screen');
      if (!w.canvas) {
        w.canvas = document.createElement('canvas');
        w.canvas.id = 'screen';
        document.body.appendChild(w.canvas);
      }
      w.canvas.width = 640;
      w.canvas.height = 400;
      w.context = w.canvas.getContext('2d', {alpha: false});
      w.image = w.context.createImageData(640, 400);
      window.addEventListener('keydown', function(e) { w.onKey(e, true); });
      window.addEventListener('keyup', function(e) { w.onKey(e, false); });
      window.addEventListener('blur', w.onBlur);
      window.addEventListener('pointerdown', w.startAudio);
      ['mousemove', 'mousedown', 'mouseup'].forEach(function(type) {
        window.addEventListener(type, w.onMouse);
      });
      // Any button turns the pair: no menu over the canvas while the pointer is captured.
      w.canvas.addEventListener('contextmenu', function(e) {
        if (w.captured) e.preventDefault();
      });
      document.addEventListener('pointerlockchange', function() {
        if (document.pointerLockElement !== w.canvas) w.lockRefused();
      });
      document.addEventListener('pointerlockerror', w.lockRefused);
      // Pads are read at every pump; plugging in and out only moves them between the slots.
      window.addEventListener('gamepadconnected', function() { w.fillPadSlots(w.gamepads()); });
      window.addEventListener('gamepaddisconnected', function(e) {
        var gone = e.gamepad ? e.gamepad.index : -1;
        w.fillPadSlots(w.gamepads().filter(function(g) { return g && g.index !== gone; }));
      });
      document.addEventListener('fullscreenchange', function() {
        if (!document.fullscreenElement && w.wantFullscreen) {
          w.wantFullscreen = false;
          w.leftFullscreen = true;
        }
      });
    }
    var frame = w.canvas.parentElement || document.documentElement;
    if (fullscreen && !document.fullscreenElement && frame.requestFullscreen) {
      w.wantFullscreen = true;
      frame.requestFullscreen().catch(function() {
        w.wantFullscreen = false;
        w.leftFullscreen = true;
      });
    } else if (!fullscreen) {
      w.wantFullscreen = false;
      if (document.fullscreenElement) document.exitFullscreen().catch(function() {});
    }
  },

  plonkix_web_show_cursor: function(show) {
    if (PlonkixWeb.canvas) PlonkixWeb.canvas.style.cursor = show ? 'default' : 'none';
  },

  plonkix_web_paint: function(rgba) {
    var w = PlonkixWeb;
    w.image.data.set(HEAPU8.subarray(rgba, rgba + 640 * 400 * 4));
    w.context.putImageData(w.image, 0, 0);
    if (!w.painted) {
      w.painted = true;
      performance.mark('plonkix-first-picture');
    }
  },

  plonkix_web_next_event: function(type, key, mod) {
    var e = PlonkixWeb.events.shift();
    if (!e) return 0;
    HEAP32[type >> 2] = e[0];
    HEAP32[key >> 2] = e[1];
    HEAP32[mod >> 2] = e[2];
    return 1;
  },

  // Two pads of four values each, as padReading gives them.
  plonkix_web_read_pads: function(readings) {
    var w = PlonkixWeb, list = w.gamepads();
    w.fillPadSlots(list);
    for (var slot = 0; slot < 2; ++slot) {
      var index = w.padSlots[slot];
      var values = w.padReading(index === null ? null : w.padAt(list, index));
      for (var i = 0; i < 4; ++i) HEAP32[(readings >> 2) + 4 * slot + i] = values[i];
    }
  },

  // [x, y, any button held] in picture coordinates; without the focus the pointer rests at the
  // centre, as in the native game.
  plonkix_web_read_pointer: function(reading) {
    var w = PlonkixWeb, x = 320, y = 200, button = 0;
    if (w.canvas && document.hasFocus()) {
      var at = w.captured ? [Math.floor(w.virtualX), Math.floor(w.virtualY)] : w.freePointer();
      x = at[0];
      y = at[1];
      button = w.mouse.buttons ? 1 : 0;
    }
    HEAP32[reading >> 2] = x;
    HEAP32[(reading >> 2) + 1] = y;
    HEAP32[(reading >> 2) + 2] = button;
  },

  // A page cannot move the real pointer: a captured one is the game's own; a free one reads as
  // put there until it moves, as the native pointer does until the window system shows it moved.
  plonkix_web_warp_pointer: function(x, y) {
    var w = PlonkixWeb;
    if (!w.canvas || !document.hasFocus()) return;
    if (w.captured) {
      w.virtualX = x;
      w.virtualY = y;
    } else {
      w.warped = [x, y];
    }
  },

  plonkix_web_capture_pointer: function(captured) {
    var w = PlonkixWeb;
    if (!w.canvas || !!captured == w.captured) return;
    if (captured) {
      var at = w.freePointer();  // the captured pointer starts where the free one was
      w.virtualX = at[0];
      w.virtualY = at[1];
      w.captured = true;
      // Granted at once when the key that started the match was recent enough.
      w.requestLock();
    } else {
      w.captured = false;
      w.lockWanted = false;
      if (document.pointerLockElement === w.canvas && document.exitPointerLock)
        document.exitPointerLock();
    }
  },

  plonkix_web_left_fullscreen: function() {
    var left = PlonkixWeb.leftFullscreen;
    PlonkixWeb.leftFullscreen = false;
    return left ? 1 : 0;
  },

  plonkix_web_open_audio: function() {
    PlonkixWeb.audioOpen = !!(window.AudioContext || window.webkitAudioContext);
    return PlonkixWeb.audioOpen ? 1 : 0;
  },

  plonkix_web_allocate_channels: function(count) {
    var w = PlonkixWeb;
    if (!w.audioOpen) return 0;
    w.channelCount = count;
    if (w.audio)
      while (w.channels.length < count) w.addChannel();
    return count;
  },

  plonkix_web_load_sound__deps: ['$FS'],
  plonkix_web_load_sound: function(file) {
    var w = PlonkixWeb;
    var bytes;
    try {
      bytes = FS.readFile(UTF8ToString(file));
    } catch (e) {
      return -1;
    }
    var sound = {bytes: bytes, buffer: null};
    w.sounds.push(sound);
    if (w.audio) w.decode(sound);
    return w.sounds.length - 1;
  },

  // Plays once on a channel at volume/128; a sound still playing there is cut off.
  plonkix_web_play_sound: function(id, volume, channel) {
    var w = PlonkixWeb;
    var sound = w.sounds[id], c = w.channels[channel];
    if (!w.audio || w.audio.state != 'running' || !sound || !sound.buffer || !c) return;
    if (c.source) {
      try {
        c.source.stop();
      } catch (e) {
      }
    }
    var source = w.audio.createBufferSource();
    source.buffer = sound.buffer;
    c.gain.gain.value = volume / 128;
    source.connect(c.gain);
    source.start();
    c.source = source;
  },

  plonkix_web_audio_running: function() {
    return PlonkixWeb.audioOpen ? 1 : 0;
  },

  plonkix_web_close_audio: function() {
    var w = PlonkixWeb;
    if (w.audio) w.audio.close();
    w.audio = null;
    w.channels = [];
    w.audioOpen = false;
  },
};

// The files the game saves, kept in the page's IndexedDB database "plonkix", object store
// "files", one Uint8Array per path inside data/ ("plonkix.cfg", "replays/NAME"). The calls that
// open it block the game (Asyncify) until the browser answers, at most waitMs: a storage that
// fails, refuses or hangs never stops the game.
var LibraryPlonkixStorage = {
  $PlonkixStorage: {
    waitMs: 3000,
    loaded: [],  // [{name, bytes}] that plonkix_web_load_kept found
    range: function(prefix) { return IDBKeyRange.bound(prefix, prefix + '\uffff'); },
    // Runs work(db, finish) on the open database; finish(value) wakes the game exactly once.
    run: function(failed, work) {
      return Asyncify.handleSleep(function(wakeUp) {
        var done = false;
        var timer = setTimeout(function() { finish(failed); }, PlonkixStorage.waitMs);
        function finish(value) {
          if (done) return;
          done = true;
          clearTimeout(timer);
          wakeUp(value);
        }
        try {
          var request = indexedDB.open('plonkix', 1);
          request.onupgradeneeded = function() { request.result.createObjectStore('files'); };
          request.onerror = function(e) {
            e.preventDefault();
            finish(failed);
          };
          request.onsuccess = function() {
            var db = request.result;
            try {
              work(db, function(value) {
                db.close();
                finish(value);
              });
            } catch (e) {
              db.close();
              finish(failed);
            }
          };
        } catch (e) {  // no IndexedDB on this page, or none allowed
          finish(failed);
        }
      });
    },
  },

  // Stores size bytes under name, and with most > 0 keeps only the newest most keys that start
  // with prunePrefix; 1 once the browser has committed all of it, 0 otherwise. The page hears of
  // a kept file through Module.onFileKept(name).
  plonkix_web_keep_file: function(name, data, size, prunePrefix, most) {
    var key = UTF8ToString(name), bytes = HEAPU8.slice(data, data + size);
    var prefix = UTF8ToString(prunePrefix);
    return PlonkixStorage.run(0, function(db, finish) {
      var transaction = db.transaction(['files'], 'readwrite');
      var store = transaction.objectStore('files');
      store.put(bytes, key);
      if (most > 0) {
        store.getAllKeys(PlonkixStorage.range(prefix)).onsuccess = function(e) {
          var keys = e.target.result;  // in key order: the oldest names first
          for (var i = 0; i + most < keys.length; ++i) store.delete(keys[i]);
        };
      }
      transaction.oncomplete = function() {
        finish(1);
        try {
          if (Module['onFileKept']) Module['onFileKept'](key);
        } catch (e) {
        }
      };
      transaction.onerror = transaction.onabort = function(e) {
        if (e && e.preventDefault) e.preventDefault();
        finish(0);
      };
    });
  },

  // Loads every file kept under a key that starts with prefix, for the calls below; how many,
  // or -1 when the storage cannot be read. (Asyncify calls this again to hand over the result:
  // only the work inside run happens once.)
  plonkix_web_load_kept: function(prefix) {
    var start = UTF8ToString(prefix);
    return PlonkixStorage.run(-1, function(db, finish) {
      PlonkixStorage.loaded = [];
      var store = db.transaction(['files'], 'readonly').objectStore('files');
      var range = PlonkixStorage.range(start), keys = null, values = null;
      function both() {
        if (!keys || !values) return;
        if (keys.length != values.length) return finish(-1);
        PlonkixStorage.loaded = keys.map(function(key, i) {
          return {name: String(key).slice(start.length), bytes: values[i]};
        });
        finish(keys.length);
      }
      function failed(e) {
        e.preventDefault();
        finish(-1);
      }
      var keyRequest = store.getAllKeys(range), valueRequest = store.getAll(range);
      keyRequest.onsuccess = function() { keys = keyRequest.result; both(); };
      valueRequest.onsuccess = function() { values = valueRequest.result; both(); };
      keyRequest.onerror = valueRequest.onerror = failed;
    });
  },

  // The length of loaded file index, -1 when what is stored there is not a file's bytes.
  plonkix_web_loaded_size: function(index) {
    var entry = PlonkixStorage.loaded[index];
    return entry && entry.bytes instanceof Uint8Array ? entry.bytes.length : -1;
  },

  // Copies the loaded file's name (cut to nameCapacity - 1 bytes) and at most capacity of its
  // bytes; the name's whole length in bytes.
  plonkix_web_loaded_copy: function(index, name, nameCapacity, data, capacity) {
    var entry = PlonkixStorage.loaded[index];
    if (!entry) return 0;
    stringToUTF8(entry.name, name, nameCapacity);
    if (entry.bytes instanceof Uint8Array && capacity > 0)
      HEAPU8.set(entry.bytes.subarray(0, capacity), data);
    return lengthBytesUTF8(entry.name);
  },

  plonkix_web_drop_loaded: function() {
    PlonkixStorage.loaded = [];
  },

  // Copies at most capacity bytes of the file kept under name; its whole length, or -1 when
  // nothing usable is kept.
  plonkix_web_kept_file: function(name, data, capacity) {
    var key = UTF8ToString(name);
    return PlonkixStorage.run(-1, function(db, finish) {
      var request = db.transaction(['files'], 'readonly').objectStore('files').get(key);
      request.onsuccess = function() {
        var kept = request.result;
        if (!(kept instanceof Uint8Array)) return finish(-1);
        HEAPU8.set(kept.subarray(0, capacity), data);
        finish(kept.length);
      };
      request.onerror = function(e) {
        e.preventDefault();
        finish(-1);
      };
    });
  },
};

autoAddDeps(LibraryPlonkixWeb, '$PlonkixWeb');
autoAddDeps(LibraryPlonkixStorage, '$PlonkixStorage');
mergeInto(LibraryManager.library, LibraryPlonkixStorage);
mergeInto(LibraryManager.library, LibraryPlonkixWeb);

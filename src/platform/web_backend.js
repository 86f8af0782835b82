// The page side of the browser backend (web_backend.cpp): the canvas, the key events of the
// page, full screen, the cursor, Web Audio and the storage of the saved files. Linked into the
// game with --js-library.

var LibraryPlonkixWeb = {
  $PlonkixWeb: {
    canvas: null,
    context: null,
    image: null,
    painted: false,
    // The page's input for the event pump. Keys only today; other devices (gamepads through the
    // Gamepad API, the mouse under Pointer Lock) would queue here too.
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
// "files", one Uint8Array per file name. Both calls block the game (Asyncify) until the browser
// answers, at most waitMs: a storage that fails, refuses or hangs never stops the game.
var LibraryPlonkixStorage = {
  $PlonkixStorage: {
    waitMs: 3000,
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

  // Stores size bytes under name; 1 once the browser has committed them, 0 otherwise.
  plonkix_web_keep_file: function(name, data, size) {
    var key = UTF8ToString(name), bytes = HEAPU8.slice(data, data + size);
    return PlonkixStorage.run(0, function(db, finish) {
      var transaction = db.transaction(['files'], 'readwrite');
      transaction.objectStore('files').put(bytes, key);
      transaction.oncomplete = function() { finish(1); };
      transaction.onerror = transaction.onabort = function(e) {
        if (e && e.preventDefault) e.preventDefault();
        finish(0);
      };
    });
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

// Starts the game in the page and stands in for what a desktop gives a program: its standard
// output goes to the console, the keyboard goes to the canvas, touch becomes the mouse the game
// knows, and the end of the program (Esc, EXIT) shows a panel that starts it again. The page
// downloads the program's three files itself, so that its bar counts them all and a failed
// download is said plainly, and runs zarnel.js only when WebGL is there. window.zarnelPage holds
// what the tests and benchmarks read.
(function () {
  'use strict';
  var canvas = document.getElementById('canvas');
  var panels = ['loading', 'no-webgl', 'failed', 'not-served', 'ended'];
  var page = window.zarnelPage = { firstFrameAt: null, exitStatus: null };
  var Files = ['zarnel.js', 'zarnel.wasm', 'zarnel.data'];

  // Shows one panel over the game, or none; the help button shows only over a running game.
  function show(id) {
    panels.forEach(function (p) { document.getElementById(p).hidden = p !== id; });
    document.getElementById('help').hidden = id !== null;
  }

  function fail(sentence) {
    if (page.exitStatus !== null) return;
    document.getElementById('failed-text').textContent = sentence;
    show('failed');
  }

  function webglAvailable() {
    try {
      return !!document.createElement('canvas').getContext('webgl');
    } catch (e) {
      return false;
    }
  }

  // --- Downloads, counted together on one bar --------------------------------------------------

  // The bar counts the bytes the three files decode to against their sizes, which the build
  // wrote into the page as the bar's maximum: a server that compresses them (most hosts do) sends
  // fewer bytes and no size of what they decode to.
  var received = 0;

  function showProgress() {
    var bar = document.getElementById('loading-bar');
    bar.value = Math.min(received, bar.max);
    document.getElementById('loading-text').textContent =
      'Loading Zarnel… ' + (bar.value / 1e6).toFixed(1) + ' of ' + (bar.max / 1e6).toFixed(1) + ' MB';
  }

  // Resolves to the file's response once the server has answered well, and counts its bytes on
  // the bar as they come; rejects with a sentence naming the file and what went wrong.
  function download(name) {
    var what = name + ' could not be downloaded';
    return fetch(name).then(function (response) {
      if (!response.ok) throw new Error(what + ' (the server answered ' + response.status + ' ' + response.statusText + ').');
      if (response.body) {
        var reader = response.clone().body.getReader();
        (function read() {
          reader.read().then(function (part) {
            if (part.done) return;
            received += part.value.length;
            showProgress();
            read();
          }, function () {});
        })();
      }
      return response;
    }, function (error) {
      throw new Error(what + ': the connection failed (' + error.message + ').');
    });
  }

  // The bytes of a downloaded file; a download that breaks off is named like a failed one.
  function bytes(name, response) {
    return response.arrayBuffer().catch(function (error) {
      throw new Error(name + ' could not be downloaded: the connection broke off (' + error.message + ').');
    });
  }

  // --- The program --------------------------------------------------------------------------

  function onFrame(count) {
    if (count === 1) {
      page.firstFrameAt = performance.now();
      show(null);
      canvas.focus({ focusVisible: false });
      // The page keeps its files for the next visit and for play offline (not from a file, and
      // only where the browser allows workers: a secure context, which http://localhost is).
      if ('serviceWorker' in navigator && window.isSecureContext)
        navigator.serviceWorker.register('sw.js').catch(function (e) { console.debug('no service worker: ' + e); });
    }
  }

  // Called by the runtime when the program exits, and when main() first yields; rethrowing ends
  // the program's stack there.
  function onQuit(status, toThrow) {
    if (Module.programIsWaiting()) throw toThrow;
    page.exitStatus = status;
    show('ended');
    document.getElementById('restart').focus();
    throw toThrow;
  }

  function onAbort(what) {
    fail('The game stopped with an error in its program, zarnel.wasm: ' + what);
  }

  // The program's script runs once it and the data are in; the .wasm is compiled as it streams in
  // (and from the browser's code cache on later visits), falling back to its bytes where a server
  // does not call it application/wasm.
  function start(script, data, wasm) {
    window.Module = {
      canvas: canvas,
      keyboardListeningElement: canvas,
      print: function (text) { console.log(text); },
      printErr: function (text) { console.debug(text); },
      getPreloadedPackage: function () { return data; },
      instantiateWasm: function (imports, receive) {
        wasm.then(function (response) {
          return WebAssembly.instantiateStreaming(response, imports).catch(function () {
            return fetch('zarnel.wasm').then(function (again) { return bytes('zarnel.wasm', again); })
              .then(function (b) { return WebAssembly.instantiate(b, imports); });
          });
        }).then(function (result) {
          document.getElementById('loading-text').textContent = 'Starting Zarnel…';
          receive(result.instance, result.module);
        }, function (error) {
          fail(/zarnel\.wasm/.test(error.message) ? error.message : 'zarnel.wasm could not be started: ' + error.message);
        });
        return {};
      },
      onFrame: onFrame,
      quit: onQuit,
      onAbort: onAbort,
    };
    var element = document.createElement('script');
    element.text = script;
    document.body.appendChild(element);
  }

  // --- Keyboard -----------------------------------------------------------------------------

  // F1 (the browser's help), Esc and the context menu belong to the game on this page. Tab leaves
  // the canvas as on any page: the runtime would cancel it, so it never sees it.
  window.addEventListener('keydown', function (e) {
    if (e.key === 'Tab' && e.target === canvas) e.stopImmediatePropagation();
    else if (e.key === 'F1' || (e.key === 'Escape' && document.activeElement === canvas)) e.preventDefault();
  }, true);
  canvas.addEventListener('contextmenu', function (e) { e.preventDefault(); });
  // A press takes the keyboard back to the game, and the ring a Tab showed goes.
  canvas.addEventListener('mousedown', function () {
    if (canvas.matches(':focus-visible')) canvas.blur();
    canvas.focus({ focusVisible: false });
  });

  // The help button presses F1 for the player. After a tap or a click the keyboard goes back to
  // the game; from the keyboard it stays on the button.
  document.getElementById('help').addEventListener('click', function (e) {
    ['keydown', 'keyup'].forEach(function (type) {
      canvas.dispatchEvent(new KeyboardEvent(type, { key: 'F1', code: 'F1', keyCode: 112, which: 112, bubbles: true, cancelable: true }));
    });
    if (e.detail > 0) canvas.focus({ focusVisible: false });
  });

  // --- Touch --------------------------------------------------------------------------------

  // A gesture begun on the canvas is the page's, not the runtime's or the browser's: one finger is
  // the left button, two are the right button at their midpoint, a third is ignored. The mouse
  // events go to the canvas with positions on the screen, which the runtime maps to the game's
  // pixels through the canvas's box. A first finger presses only once it moves, stays for
  // Settle ms or lifts, so that the second finger of a two-finger turn presses nothing.
  var Settle = 120, Slop = 8;
  var gesture = null; // { state: 'waiting' | 'left' | 'right' | 'done', ids, start, at, timer }

  function mouse(type, button, buttons, at) {
    canvas.dispatchEvent(new MouseEvent(type, { bubbles: true, cancelable: true, view: window,
      clientX: at.x, clientY: at.y, button: button, buttons: buttons }));
  }

  function touchAt(list, id) {
    for (var i = 0; i < list.length; i++)
      if (list[i].identifier === id) return { x: list[i].clientX, y: list[i].clientY };
    return null;
  }

  function pressLeft() {
    clearTimeout(gesture.timer);
    mouse('mousemove', 0, 0, gesture.start); // the hover that PLAY and EXIT act on
    mouse('mousedown', 0, 1, gesture.start);
    gesture.state = 'left';
    if (gesture.at !== gesture.start) mouse('mousemove', 0, 1, gesture.at);
  }

  function midpoint(e) {
    var a = touchAt(e.touches, gesture.ids[0]), b = touchAt(e.touches, gesture.ids[1]);
    return a && b ? { x: (a.x + b.x) / 2, y: (a.y + b.y) / 2 } : gesture.at;
  }

  function onTouch(e) {
    if (!gesture && !(e.type === 'touchstart' && e.target === canvas)) return;
    e.preventDefault();
    e.stopImmediatePropagation();
    if (!gesture) {
      var first = e.changedTouches[0];
      gesture = { state: 'waiting', ids: [first.identifier], start: touchAt(e.changedTouches, first.identifier) };
      gesture.at = gesture.start;
      gesture.timer = setTimeout(function () { if (gesture && gesture.state === 'waiting') pressLeft(); }, Settle);
      if (e.changedTouches.length === 1) return;
    }
    var s = gesture.state;
    if (e.type === 'touchstart' && (s === 'waiting' || s === 'left')) {
      clearTimeout(gesture.timer);
      if (s === 'left') mouse('mouseup', 0, 0, gesture.at);
      var ids = gesture.ids;
      for (var i = 0; i < e.touches.length && ids.length < 2; i++)
        if (e.touches[i].identifier !== ids[0]) ids.push(e.touches[i].identifier);
      gesture.at = midpoint(e);
      gesture.state = 'right';
      mouse('mousemove', 0, 0, gesture.at);
      mouse('mousedown', 2, 2, gesture.at);
    } else if (e.type === 'touchmove' && s !== 'done') {
      var at = s === 'right' ? midpoint(e) : touchAt(e.touches, gesture.ids[0]) || gesture.at;
      gesture.at = at;
      if (s === 'waiting' && Math.hypot(at.x - gesture.start.x, at.y - gesture.start.y) > Slop) pressLeft();
      else if (s !== 'waiting') mouse('mousemove', 0, s === 'left' ? 1 : 2, at);
    } else if (e.type === 'touchend' || e.type === 'touchcancel') {
      var ended = false;
      for (var j = 0; j < e.changedTouches.length; j++) ended = ended || gesture.ids.indexOf(e.changedTouches[j].identifier) >= 0;
      if (ended && s !== 'done') {
        if (s === 'waiting') pressLeft();
        mouse('mouseup', s === 'right' ? 2 : 0, 0, gesture.at);
        gesture.state = 'done';
      }
      if (e.touches.length === 0) {
        // A finger leaves no hover behind: PLAY and EXIT light only under it.
        var box = canvas.getBoundingClientRect();
        mouse('mousemove', 0, 0, { x: box.left - 1, y: box.top - 1 });
        gesture = null;
      }
    }
  }
  ['touchstart', 'touchmove', 'touchend', 'touchcancel'].forEach(function (type) {
    window.addEventListener(type, onTouch, { capture: true, passive: false });
  });

  // --- Start ----------------------------------------------------------------------------------

  document.getElementById('restart').addEventListener('click', function () { location.reload(); });
  document.getElementById('reload').addEventListener('click', function () { location.reload(); });
  // An error nothing caught while the game starts would leave the loading panel up for ever.
  window.addEventListener('error', function (e) {
    if (page.firstFrameAt === null) fail('Zarnel could not start: ' + e.message);
  });

  if (location.protocol === 'file:') {
    show('not-served');
    return;
  }
  if (!webglAvailable()) {
    show('no-webgl');
    return;
  }
  canvas.focus({ focusVisible: false });
  var responses = Files.map(download);
  var text = responses[0].then(function (r) { return r.text(); });
  var data = responses[2].then(function (r) { return bytes('zarnel.data', r); });
  Promise.all([text, data]).then(function (loaded) { start(loaded[0], loaded[1], responses[1]); })
    .catch(function (error) { fail(error.message); });
  responses[1].catch(function (error) { fail(error.message); });
})();

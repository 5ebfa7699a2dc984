// Starts the game in the page and stands in for what a desktop gives a program: its standard
// output goes to the console, the keyboard goes to the canvas, touch becomes the mouse the game
// knows, and the end of the program (Esc, EXIT) shows a panel that starts it again; a screen
// reader hears the win and the end. The page downloads the program's three files itself, so that
// its bar counts them all and a failed download is said plainly, and runs zarnel.js only when
// WebGL is there. A program that fails, and graphics that the browser takes back, are said over
// the game. window.zarnelPage holds what the tests and benchmarks read.
(function () {
  'use strict';
  var canvas = document.getElementById('canvas');
  var panels = ['loading', 'no-webgl', 'failed', 'not-served', 'ended', 'lost'];
  var page = window.zarnelPage = { firstFrameAt: null, exitStatus: null };
  var Files = ['zarnel.js', 'zarnel.wasm', 'zarnel.data'];

  // Shows one panel over the game, or none; the help button shows only over a running game.
  function show(id) {
    panels.forEach(function (p) { document.getElementById(p).hidden = p !== id; });
    document.getElementById('help').hidden = id !== null;
  }

  // Once the game has ended, failed or lost its graphics, what the page says stays: a later error
  // (the runtime unwinding the program's stack, say) does not replace it.
  var settled = false;

  function settle(id) {
    settled = true;
    show(id);
  }

  function fail(sentence) {
    if (settled) return;
    document.getElementById('failed-text').textContent = sentence;
    settle('failed');
  }

  // Says a sentence to screen readers, through the live region beside the stage.
  function announce(sentence) {
    document.getElementById('announce').textContent = sentence;
  }

  // The probe's context is given back at once: a page holds only a few, and it would otherwise
  // stay for the whole visit.
  function webglAvailable() {
    try {
      var gl = document.createElement('canvas').getContext('webgl');
      var lose = gl && gl.getExtension('WEBGL_lose_context');
      if (lose) lose.loseContext();
      return !!gl;
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

  // Called by the runtime when the program exits, when main() first yields, and with status 1 and
  // the error when something the program called threw; rethrowing ends the program's stack there.
  // Only status 0 is the player's quitting: any other is a failure (1: the game could not open its
  // window, or the error).
  function onQuit(status, toThrow) {
    if (Module.programIsWaiting()) throw toThrow;
    page.exitStatus = status;
    if (status !== 0) {
      fail(toThrow instanceof Error ? 'Zarnel stopped with an error: ' + toThrow.message
        : 'Zarnel stopped with an error: its program ended with status ' + status + ' (it could not open its window).');
      throw toThrow;
    }
    settle('ended');
    announce('The game has ended.');
    document.getElementById('restart').focus();
    throw toThrow;
  }

  function onAbort(what) {
    fail('The game stopped with an error in its program, zarnel.wasm: ' + what);
  }

  // The .wasm is compiled as it streams in (and from the browser's code cache on later visits).
  // Where that fails (a server that does not call it application/wasm) it is compiled from the
  // bytes of the same answer, read from a copy, after a look at its first bytes: a page of text
  // is named as such, not as a broken program.
  function instantiate(response, imports) {
    var copy = response.clone();
    return WebAssembly.instantiateStreaming(response, imports).then(function (result) {
      copy.body.cancel();
      return result;
    }, function () {
      return bytes('zarnel.wasm', copy).then(function (b) {
        var magic = new Uint8Array(b, 0, Math.min(4, b.byteLength)).join();
        if (magic !== '0,97,115,109')
          throw new Error('zarnel.wasm could not be downloaded: the server sent something other than the program (' +
            (response.headers.get('Content-Type') || 'of no type') + ').');
        return WebAssembly.instantiate(b, imports);
      });
    });
  }

  // The program's standard output, line by line: to the console, and the win to screen readers in
  // the words of the status line.
  function print(text) {
    console.log(text);
    if (text === 'congratulations,you win!') announce('Congratulations, you win! Press PLAY to restart.');
  }

  // The program's script runs once it and the data are in.
  function start(script, data, wasm) {
    window.Module = {
      canvas: canvas,
      keyboardListeningElement: canvas,
      print: print,
      printErr: function (text) { console.debug(text); },
      getPreloadedPackage: function () { return data; },
      instantiateWasm: function (imports, receive) {
        wasm.then(function (response) { return instantiate(response, imports); }).then(function (result) {
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
  // So is the context menu, over the canvas and after a right press on it wherever the drag ends:
  // some systems open the menu at the release, over what lies there.
  var rightPressOnGame = false;
  window.addEventListener('mousedown', function (e) { rightPressOnGame = e.target === canvas && e.button === 2; }, true);
  window.addEventListener('contextmenu', function (e) {
    if (e.target === canvas || rightPressOnGame) e.preventDefault();
  }, true);
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
      // A move that leaves the point where it was is no mouse move (the game would take it for a
      // turn by nothing): some browsers send a touchmove for each finger of a gesture.
      if (at.x === gesture.at.x && at.y === gesture.at.y) return;
      gesture.at = at;
      if (s === 'waiting' && Math.hypot(at.x - gesture.start.x, at.y - gesture.start.y) > Slop) pressLeft();
      else if (s !== 'waiting') mouse('mousemove', 0, s === 'left' ? 1 : 2, at);
    } else if (e.type === 'touchend' || e.type === 'touchcancel') {
      var ended = false;
      for (var j = 0; j < e.changedTouches.length; j++) ended = ended || gesture.ids.indexOf(e.changedTouches[j].identifier) >= 0;
      // A touch the system cancelled (a notification pulled down, an edge gesture) presses
      // nothing; what it pressed is released.
      var cancelled = e.type === 'touchcancel';
      if (ended && s !== 'done') {
        clearTimeout(gesture.timer);
        if (s === 'waiting' && !cancelled) pressLeft();
        if (s !== 'waiting' || !cancelled) mouse('mouseup', s === 'right' ? 2 : 0, 0, gesture.at);
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

  ['restart', 'reload', 'lost-restart'].forEach(function (id) {
    document.getElementById(id).addEventListener('click', function () { location.reload(); });
  });
  // An error nothing caught would leave the loading panel up for ever, or the game frozen.
  function uncaught(message) {
    fail((page.firstFrameAt === null ? 'Zarnel could not start: ' : 'Zarnel stopped with an error: ') + message);
  }
  window.addEventListener('error', function (e) { uncaught(e.message); });
  window.addEventListener('unhandledrejection', function (e) { uncaught(e.reason && e.reason.message || String(e.reason)); });

  // The browser may take the page's WebGL context back (a phone short of graphics memory, a driver
  // reset), and gives it back only to a page that prevents the default. The program's textures and
  // buffers are gone with it, so the way back is a fresh start of the page (quick from the service
  // worker's cache): by itself when the context returns, and by a button when it has not returned
  // within a few seconds.
  var RestoreWait = 4000;
  canvas.addEventListener('webglcontextlost', function (e) {
    e.preventDefault();
    settle('lost');
    setTimeout(function () { document.getElementById('lost-restart').hidden = false; }, RestoreWait);
  });
  canvas.addEventListener('webglcontextrestored', function () { location.reload(); });

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

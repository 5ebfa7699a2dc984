// Starts the game in the page and stands in for what a desktop gives a program: its standard
// output goes to the console, the keyboard goes to the canvas, and the end of the program (Esc,
// EXIT) shows a panel that starts it again. The program's script, zarnel.js, is loaded only when
// WebGL is there. window.zarnelPage holds what the tests and benchmarks read.
(function () {
  'use strict';
  var canvas = document.getElementById('canvas');
  var panels = ['loading', 'no-webgl', 'failed', 'ended'];
  var page = window.zarnelPage = { firstFrameAt: null, exitStatus: null };

  function show(id) {
    panels.forEach(function (p) { document.getElementById(p).hidden = p !== id; });
  }

  function webglAvailable() {
    try {
      return !!document.createElement('canvas').getContext('webgl');
    } catch (e) {
      return false;
    }
  }

  // emscripten reports the download as "Downloading data... (loaded/total)".
  function setStatus(text) {
    var bar = document.getElementById('loading-bar');
    var m = /\((\d+(?:\.\d+)?)\/(\d+(?:\.\d+)?)\)/.exec(text || '');
    if (m) {
      bar.max = Number(m[2]);
      bar.value = Number(m[1]);
    }
    if (text) document.getElementById('loading-text').textContent = text.replace(/\s*\(.*\)$/, '');
  }

  function onFrame(count) {
    if (count === 1) {
      page.firstFrameAt = performance.now();
      show(null);
      canvas.focus();
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
    document.getElementById('failed-text').textContent = 'Zarnel could not start: ' + what;
    show('failed');
  }

  // F1 (the browser's help), Esc and the context menu belong to the game on this page.
  window.addEventListener('keydown', function (e) {
    if (e.key === 'F1' || (e.key === 'Escape' && document.activeElement === canvas)) e.preventDefault();
  }, true);
  canvas.addEventListener('contextmenu', function (e) { e.preventDefault(); });
  canvas.addEventListener('mousedown', function () { canvas.focus(); });
  document.getElementById('restart').addEventListener('click', function () { location.reload(); });

  if (!webglAvailable()) {
    show('no-webgl');
    return;
  }
  window.Module = {
    canvas: canvas,
    keyboardListeningElement: canvas,
    print: function (text) { console.log(text); },
    printErr: function (text) { console.debug(text); },
    setStatus: setStatus,
    onFrame: onFrame,
    quit: onQuit,
    onAbort: onAbort,
  };
  canvas.focus();
  var script = document.createElement('script');
  script.src = 'zarnel.js';
  script.onerror = function () { onAbort('zarnel.js did not load'); };
  document.body.appendChild(script);
})();

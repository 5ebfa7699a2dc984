// Replacements for parts of emscripten's fixed-function GL emulation (LEGACY_GL_EMULATION over
// WebGL 1) that fail on the calls the engine's OpenGL driver makes. Each was checked against
// Debian's emscripten 3.1.6; recheck each on another version, (3) most of all, because it
// reproduces that version's internals. Each fix is linked in by its own line of
// DEFAULT_LIBRARY_FUNCS_TO_INCLUDE below, whatever else depends on it; the GL enum numbers the
// fixes compare are named once, in zarnelGL.
DEFAULT_LIBRARY_FUNCS_TO_INCLUDE.push('glTexImage2D', 'glTexSubImage2D'); // (1)
DEFAULT_LIBRARY_FUNCS_TO_INCLUDE.push('glMaterialfv'); // (2)
DEFAULT_LIBRARY_FUNCS_TO_INCLUDE.push('glDrawElements'); // (3)
DEFAULT_LIBRARY_FUNCS_TO_INCLUDE.push('$zarnelTexEnvf'); // (4)

mergeInto(LibraryManager.library, {
  // The GL enum values the fixes use, as the OpenGL headers define them.
  $zarnelGL: {
    FRONT: 0x0404, FRONT_AND_BACK: 0x0408, ALPHA_SCALE: 0x0D1C, AMBIENT: 0x1200, DIFFUSE: 0x1201,
    SPECULAR: 0x1202, UNSIGNED_BYTE: 0x1401, UNSIGNED_INT: 0x1405, SHININESS: 0x1601, RGB: 0x1907,
    RGBA: 0x1908, UNSIGNED_SHORT_5_5_5_1: 0x8034, BGR: 0x80E0, BGRA: 0x80E1,
    UNSIGNED_SHORT_1_5_5_5_REV: 0x8366, RGB_SCALE: 0x8573,
  },

  // (1) WebGL 1 has no BGRA or BGR upload formats and no GL_UNSIGNED_SHORT_1_5_5_5_REV, which the
  // engine uses for its A8R8G8B8, R8G8B8 and A1R5G5B5 textures: without this every texture upload
  // fails (INVALID_ENUM) and the cube, the buttons and every glyph draw white. Such an upload is
  // converted into a copy in RGBA, RGB or RGBA 5551 (WebGL 1 wants the internal format equal to the
  // format); the engine's own image is left as it is.
  $zarnelConvertUpload__deps: ['$zarnelGL'],
  $zarnelConvertUpload: function(format, type, width, height, pixels) {
    var bgra = format == zarnelGL.BGRA, bgr = format == zarnelGL.BGR;
    if (!bgra && !bgr) return null;
    var packed16 = bgra && type == zarnelGL.UNSIGNED_SHORT_1_5_5_5_REV;
    var converted = {
      format: bgra ? zarnelGL.RGBA : zarnelGL.RGB,
      type: packed16 ? zarnelGL.UNSIGNED_SHORT_5_5_5_1 : zarnelGL.UNSIGNED_BYTE,
      data: null,
    };
    if (!pixels) return converted;
    var bytesPerPixel = packed16 ? 2 : bgra ? 4 : 3;
    var stride = Math.ceil(width * bytesPerPixel / GL.unpackAlignment) * GL.unpackAlignment;
    var size = stride * (height - 1) + width * bytesPerPixel;
    var bytes = new Uint8Array(size + (size & 1));
    bytes.set(HEAPU8.subarray(pixels, pixels + size));
    for (var y = 0; y < height; y++) {
      for (var x = 0, i = y * stride; x < width; x++, i += bytesPerPixel) {
        if (packed16) {
          // A1R5G5B5 (alpha in the top bit) becomes R5G5B5A1 (alpha in the bottom bit).
          var v = bytes[i] | bytes[i + 1] << 8;
          v = (v & 0x7FFF) << 1 | v >> 15;
          bytes[i] = v & 0xFF;
          bytes[i + 1] = v >> 8;
        } else {
          var b = bytes[i];
          bytes[i] = bytes[i + 2];
          bytes[i + 2] = b;
        }
      }
    }
    converted.data = packed16 ? new Uint16Array(bytes.buffer) : bytes;
    return converted;
  },

  glTexImage2D__deps: ['$emscriptenWebGLGetTexPixelData', '$zarnelConvertUpload'],
  glTexImage2D: function(target, level, internalFormat, width, height, border, format, type, pixels) {
    var c = zarnelConvertUpload(format, type, width, height, pixels);
    if (c) {
      GLctx.texImage2D(target, level, c.format, width, height, border, c.format, c.type, c.data);
      return;
    }
    var data = pixels ? emscriptenWebGLGetTexPixelData(type, format, width, height, pixels, internalFormat) : null;
    GLctx.texImage2D(target, level, internalFormat, width, height, border, format, type, data);
  },

  glTexSubImage2D__deps: ['$emscriptenWebGLGetTexPixelData', '$zarnelConvertUpload'],
  glTexSubImage2D: function(target, level, xoffset, yoffset, width, height, format, type, pixels) {
    var c = zarnelConvertUpload(format, type, width, height, pixels);
    if (c) {
      GLctx.texSubImage2D(target, level, xoffset, yoffset, width, height, c.format, c.type, c.data);
      return;
    }
    var data = pixels ? emscriptenWebGLGetTexPixelData(type, format, width, height, pixels, 0) : null;
    GLctx.texSubImage2D(target, level, xoffset, yoffset, width, height, format, type, data);
  },

  // (2) The emulated glMaterialfv throws on GL_EMISSION and on GL_BACK, and the engine sets both for
  // every material: the exception ends the frame and nothing draws. Keep what the emulation uses
  // (front ambient, diffuse, specular and shininess); ignore the rest.
  glMaterialfv__deps: ['$GLEmulation', '$zarnelGL'],
  glMaterialfv: function(face, pname, param) {
    if (face != zarnelGL.FRONT && face != zarnelGL.FRONT_AND_BACK) return;
    var target;
    switch (pname) {
      case zarnelGL.AMBIENT: target = GLEmulation.materialAmbient; break;
      case zarnelGL.DIFFUSE: target = GLEmulation.materialDiffuse; break;
      case zarnelGL.SPECULAR: target = GLEmulation.materialSpecular; break;
      case zarnelGL.SHININESS: target = GLEmulation.materialShininess; break;
      default: return;
    }
    target.set(HEAPF32.subarray(param >> 2, (param >> 2) + target.length));
  },

  // (3) With vertex colours in a client array of their own, the emulated glDrawElements copies only
  // as many vertices as there are indices. A buffer whose indices reach further, like a sub-cube
  // face (6 indices into 12 vertices), then draws spikes from stale memory. This is 3.1.6's own
  // function with one change: it copies up to the highest index the draw uses.
  glDrawElements__deps: ['$zarnelGL'],
  glDrawElements: function(mode, count, type, indices, start, end) {
    if (GLImmediate.totalEnabledClientAttributes == 0 && mode <= 6 && GLctx.currentElementArrayBufferBinding) {
      GLctx.drawElements(mode, count, type, indices);
      return;
    }
    var vertices = count;
    if (!GLctx.currentElementArrayBufferBinding) {
      var heap = type == zarnelGL.UNSIGNED_INT ? HEAPU32 : HEAPU16;
      var first = indices / heap.BYTES_PER_ELEMENT;
      for (var i = 0; i < count; i++) vertices = Math.max(vertices, heap[first + i] + 1);
    }
    GLImmediate.prepareClientAttributes(vertices, false);
    GLImmediate.mode = mode;
    if (!GLctx.currentArrayBufferBinding) {
      GLImmediate.firstVertex = end ? start : HEAP8.length;
      GLImmediate.lastVertex = end ? end + 1 : 0;
      GLImmediate.vertexData = HEAPF32.subarray(GLImmediate.vertexPointer >> 2,
        end ? (GLImmediate.vertexPointer + (end + 1) * GLImmediate.stride) >> 2 : undefined);
    }
    GLImmediate.flush(count, 0, indices);
    GLImmediate.mode = -1;
  },

  // (4) The engine sets all texture-environment state through glTexEnvf. The emulation handles only
  // the two scale parameters there and prints a warning for every other call: a third of the main
  // thread's time, 16.8 ms a frame. Those calls are dropped (the emulation keeps GL_MODULATE, which
  // draws this game right); routing them to the integer path instead makes every 2D image vanish.
  // The emulation installs its own glTexEnvf when the script starts, so this runs after it.
  $zarnelTexEnvf__deps: ['$GLEmulation', '$GLImmediate', '$zarnelGL'],
  $zarnelTexEnvf__postset: '_glTexEnvf = zarnelTexEnvf;',
  $zarnelTexEnvf: function(target, pname, param) {
    if (pname == zarnelGL.RGB_SCALE || pname == zarnelGL.ALPHA_SCALE) {
      GLImmediate.TexEnvJIT.hook_texEnvf(target, pname, param);
    }
  },
});

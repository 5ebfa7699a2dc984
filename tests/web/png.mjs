// Reads 8-bit, non-interlaced PNG files (Chromium's screenshots, the engine's golden frames) into
// 0xRRGGBB pixels, and compares two frames the way the desktop's golden tests do.
import { inflateSync } from 'node:zlib';

const channelsOf = { 0: 1, 2: 3, 4: 2, 6: 4 };

function paeth(a, b, c) {
  const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
  return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// Undoes the per-row filters in place; bpp is the bytes of one pixel.
function unfilter(data, width, height, bpp) {
  const stride = width * bpp;
  const out = Buffer.alloc(stride * height);
  for (let y = 0, i = 0; y < height; y++) {
    const filter = data[i++], row = y * stride, prev = row - stride;
    for (let x = 0; x < stride; x++, i++) {
      const a = x >= bpp ? out[row + x - bpp] : 0, b = y > 0 ? out[prev + x] : 0;
      const c = x >= bpp && y > 0 ? out[prev + x - bpp] : 0;
      const predictor = [0, a, b, (a + b) >> 1, paeth(a, b, c)][filter];
      out[row + x] = (data[i] + predictor) & 0xFF;
    }
  }
  return out;
}

export function decodePng(buffer) {
  let offset = 8, width = 0, height = 0, depth = 0, type = 0;
  const idat = [];
  while (offset < buffer.length) {
    const length = buffer.readUInt32BE(offset), kind = buffer.toString('latin1', offset + 4, offset + 8);
    const body = buffer.subarray(offset + 8, offset + 8 + length);
    if (kind === 'IHDR') {
      [width, height, depth, type] = [body.readUInt32BE(0), body.readUInt32BE(4), body[8], body[9]];
      if (depth !== 8 || !(type in channelsOf) || body[12] !== 0) throw new Error(`unsupported PNG (depth ${depth}, type ${type})`);
    } else if (kind === 'IDAT') {
      idat.push(body);
    }
    offset += 12 + length;
  }
  const bpp = channelsOf[type];
  const raw = unfilter(inflateSync(Buffer.concat(idat)), width, height, bpp);
  const pixels = new Uint32Array(width * height);
  for (let i = 0; i < pixels.length; i++) {
    const p = i * bpp;
    pixels[i] = bpp < 3 ? raw[p] * 0x010101 : raw[p] << 16 | raw[p + 1] << 8 | raw[p + 2];
  }
  return { width, height, pixels, at: (x, y) => pixels[y * width + x] };
}

// How two frames of the same size differ: the largest channel difference, and how many pixels
// differ at all and by more than the tolerance.
export function compareFrames(a, b, channelTolerance) {
  let most = 0, differing = 0, beyond = 0;
  for (let i = 0; i < a.pixels.length; i++) {
    let d = 0;
    for (let shift = 0; shift < 24; shift += 8)
      d = Math.max(d, Math.abs((a.pixels[i] >> shift & 0xFF) - (b.pixels[i] >> shift & 0xFF)));
    most = Math.max(most, d);
    differing += d > 0;
    beyond += d > channelTolerance;
  }
  return { most, differing, beyond };
}

// A small GIF89a writer: median-cut palette of up to 256 colours and LZW compression.
// Input is RGBA pixels; fully transparent pixels become the transparent colour.

function medianCut(colours, count) {
  // colours: array of [r, g, b, weight]
  let boxes = [colours];
  while (boxes.length < count) {
    let best = -1;
    let bestRange = 0;
    let bestChannel = 0;
    boxes.forEach((box, i) => {
      if (box.length < 2) return;
      for (let c = 0; c < 3; c++) {
        let lo = 255;
        let hi = 0;
        for (const p of box) {
          lo = Math.min(lo, p[c]);
          hi = Math.max(hi, p[c]);
        }
        if (hi - lo > bestRange) {
          bestRange = hi - lo;
          best = i;
          bestChannel = c;
        }
      }
    });
    if (best === -1) break;
    const box = boxes[best].sort((p, q) => p[bestChannel] - q[bestChannel]);
    const total = box.reduce((s, p) => s + p[3], 0);
    let acc = 0;
    let cut = 1;
    for (let i = 0; i < box.length - 1; i++) {
      acc += box[i][3];
      if (acc >= total / 2) {
        cut = i + 1;
        break;
      }
      cut = i + 1;
    }
    boxes.splice(best, 1, box.slice(0, cut), box.slice(cut));
  }
  return boxes.map((box) => {
    const w = box.reduce((s, p) => s + p[3], 0);
    return [0, 1, 2].map((c) => Math.round(box.reduce((s, p) => s + p[c] * p[3], 0) / w));
  });
}

function lzw(indices, minCodeSize) {
  const clear = 1 << minCodeSize;
  const end = clear + 1;
  const out = [];
  let bitBuf = 0;
  let bitLen = 0;
  let codeSize = minCodeSize + 1;
  const emit = (code) => {
    bitBuf |= code << bitLen;
    bitLen += codeSize;
    while (bitLen >= 8) {
      out.push(bitBuf & 255);
      bitBuf >>>= 8;
      bitLen -= 8;
    }
  };
  let dict = new Map();
  let next = end + 1;
  emit(clear);
  let prefix = indices[0];
  for (let i = 1; i < indices.length; i++) {
    const k = indices[i];
    const key = prefix * 256 + k;
    if (dict.has(key)) {
      prefix = dict.get(key);
      continue;
    }
    emit(prefix);
    if (next === 4096) {
      emit(clear);
      dict = new Map();
      next = end + 1;
      codeSize = minCodeSize + 1;
    } else {
      dict.set(key, next);
      if (next === 1 << codeSize && codeSize < 12) codeSize++;
      next++;
    }
    prefix = k;
  }
  emit(prefix);
  emit(end);
  if (bitLen > 0) out.push(bitBuf & 255);
  return out;
}

export function encodeGif(width, height, rgba) {
  const hist = new Map();
  let transparent = false;
  for (let i = 0; i < width * height; i++) {
    if (rgba[i * 4 + 3] < 128) {
      transparent = true;
      continue;
    }
    const key = (rgba[i * 4] << 16) | (rgba[i * 4 + 1] << 8) | rgba[i * 4 + 2];
    hist.set(key, (hist.get(key) || 0) + 1);
  }
  const colours = [...hist].map(([k, w]) => [(k >> 16) & 255, (k >> 8) & 255, k & 255, w]);
  const palette = colours.length <= (transparent ? 255 : 256) ? colours.map((c) => c.slice(0, 3)) : medianCut(colours, transparent ? 255 : 256);
  if (transparent) palette.push([255, 255, 255]);
  const transIndex = palette.length - 1;
  const cache = new Map();
  const nearest = (key) => {
    if (cache.has(key)) return cache.get(key);
    const r = (key >> 16) & 255, g = (key >> 8) & 255, b = key & 255;
    let best = 0;
    let bestD = Infinity;
    const n = transparent ? palette.length - 1 : palette.length;
    for (let i = 0; i < n; i++) {
      const p = palette[i];
      const d = (p[0] - r) ** 2 * 2 + (p[1] - g) ** 2 * 4 + (p[2] - b) ** 2 * 3;
      if (d < bestD) {
        bestD = d;
        best = i;
      }
    }
    cache.set(key, best);
    return best;
  };
  const indices = new Array(width * height);
  for (let i = 0; i < width * height; i++) {
    if (rgba[i * 4 + 3] < 128) indices[i] = transIndex;
    else indices[i] = nearest((rgba[i * 4] << 16) | (rgba[i * 4 + 1] << 8) | rgba[i * 4 + 2]);
  }
  let bits = 1;
  while (1 << bits < palette.length) bits++;
  const tableSize = 1 << bits;
  const bytes = [];
  const word = (v) => bytes.push(v & 255, (v >> 8) & 255);
  bytes.push(...Buffer.from("GIF89a"));
  word(width);
  word(height);
  bytes.push(0x80 | ((bits - 1) << 4) | (bits - 1), 0, 0);
  for (let i = 0; i < tableSize; i++) bytes.push(...(palette[i] || [0, 0, 0]));
  if (transparent) bytes.push(0x21, 0xf9, 4, 1, 0, 0, transIndex, 0);
  bytes.push(0x2c);
  word(0);
  word(0);
  word(width);
  word(height);
  bytes.push(0);
  const minCodeSize = Math.max(2, bits);
  bytes.push(minCodeSize);
  const data = lzw(indices, minCodeSize);
  for (let i = 0; i < data.length; i += 255) {
    const chunk = data.slice(i, i + 255);
    bytes.push(chunk.length, ...chunk);
  }
  bytes.push(0, 0x3b);
  return Buffer.from(bytes);
}

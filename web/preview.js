// The preview: an SVG picture that the reader zooms with the wheel (or + and
// -), pans by dragging (or with the arrow keys) and fits again; and the DXF
// picture of polylines before and after filleting.

const svgNamespace = 'http://www.w3.org/2000/svg';

// Zoom steps: one wheel notch or key press.
const zoomStep = 1.25;
// The part of the view one arrow key moves it.
const panStep = 0.1;

export class Viewport {
  constructor(container) {
    this.container = container;
    this.svg = null;
    this.home = null;  // the view that fits the drawing
    this.view = null;  // the view shown: {x, y, w, h} in SVG units
    this.moved = false;  // whether the reader zoomed or panned since the last fit
    this.drag = null;
    container.addEventListener('wheel', (event) => {
      if (!this.svg) return;
      event.preventDefault();
      this.zoomAt(event.deltaY < 0 ? 1 / zoomStep : zoomStep, event.clientX, event.clientY);
    }, { passive: false });
    container.addEventListener('pointerdown', (event) => {
      if (!this.svg || event.button !== 0) return;
      this.drag = { x: event.clientX, y: event.clientY, id: event.pointerId };
      container.setPointerCapture(event.pointerId);
      container.classList.add('dragging');
    });
    container.addEventListener('pointermove', (event) => {
      if (!this.drag || event.pointerId !== this.drag.id) return;
      this.panByPixels(event.clientX - this.drag.x, event.clientY - this.drag.y);
      this.drag.x = event.clientX;
      this.drag.y = event.clientY;
    });
    const endDrag = (event) => {
      if (!this.drag || event.pointerId !== this.drag.id) return;
      this.drag = null;
      container.classList.remove('dragging');
    };
    container.addEventListener('pointerup', endDrag);
    container.addEventListener('pointercancel', endDrag);
    container.addEventListener('keydown', (event) => this.key(event));
  }

  // Shows `svg`, whose whole drawing `home` frames; keeps the reader's view
  // when they have moved it and `keepView` is set (a redraw at a new size).
  show(svg, home, keepView) {
    svg.removeAttribute('width');
    svg.removeAttribute('height');
    svg.setAttribute('preserveAspectRatio', 'xMidYMid meet');
    this.container.replaceChildren(svg);
    this.svg = svg;
    this.home = home;
    if (!(keepView && this.moved && this.view)) {
      this.view = { ...home };
      this.moved = false;
    }
    this.apply();
  }

  clear() {
    this.container.replaceChildren();
    this.svg = null;
  }

  apply() {
    const v = this.view;
    this.svg.setAttribute('viewBox', `${v.x} ${v.y} ${v.w} ${v.h}`);
  }

  fit() {
    if (!this.svg) return;
    this.view = { ...this.home };
    this.moved = false;
    this.apply();
  }

  // Frames `box` ({x, y, w, h} in SVG units) with a margin.
  zoomTo(box) {
    if (!this.svg) return;
    const size = Math.max(box.w, box.h, this.home.w * 1e-6);
    const margin = 0.15 * size;
    this.view = { x: box.x - margin, y: box.y - margin, w: box.w + 2 * margin, h: box.h + 2 * margin };
    this.moved = true;
    this.apply();
  }

  // SVG units per screen pixel, as preserveAspectRatio "meet" shows them.
  unitsPerPixel() {
    const rect = this.container.getBoundingClientRect();
    return Math.max(this.view.w / Math.max(rect.width, 1), this.view.h / Math.max(rect.height, 1));
  }

  // Zooms by `factor` (below 1: in) keeping the point under the screen
  // position (clientX, clientY) where it is; the container's middle when
  // none is given.
  zoomAt(factor, clientX, clientY) {
    if (!this.svg) return;
    const rect = this.container.getBoundingClientRect();
    const sx = clientX === undefined ? rect.left + rect.width / 2 : clientX;
    const sy = clientY === undefined ? rect.top + rect.height / 2 : clientY;
    const matrix = this.svg.getScreenCTM();
    const v = this.view;
    let px = v.x + v.w / 2;
    let py = v.y + v.h / 2;
    if (matrix) {
      const point = new DOMPoint(sx, sy).matrixTransform(matrix.inverse());
      px = point.x;
      py = point.y;
    }
    this.view = { x: px - (px - v.x) * factor, y: py - (py - v.y) * factor, w: v.w * factor, h: v.h * factor };
    this.moved = true;
    this.apply();
  }

  panByPixels(dx, dy) {
    const scale = this.unitsPerPixel();
    this.view = { ...this.view, x: this.view.x - dx * scale, y: this.view.y - dy * scale };
    this.moved = true;
    this.apply();
  }

  key(event) {
    if (!this.svg || event.altKey || event.ctrlKey || event.metaKey) return;
    const rect = this.container.getBoundingClientRect();
    const step = panStep * Math.min(rect.width, rect.height);
    const actions = {
      '+': () => this.zoomAt(1 / zoomStep),
      '=': () => this.zoomAt(1 / zoomStep),
      '-': () => this.zoomAt(zoomStep),
      '0': () => this.fit(),
      ArrowLeft: () => this.panByPixels(step, 0),
      ArrowRight: () => this.panByPixels(-step, 0),
      ArrowUp: () => this.panByPixels(0, step),
      ArrowDown: () => this.panByPixels(0, -step),
    };
    if (!(event.key in actions)) return;
    event.preventDefault();
    actions[event.key]();
  }
}

// An SVG element from SVG text (the module's picture of an exchange file).
export function parseSvg(text) {
  const parsed = new DOMParser().parseFromString(text, 'image/svg+xml');
  const svg = parsed.documentElement;
  if (svg.nodeName !== 'svg') throw new Error('the picture is not SVG');
  return document.importNode(svg, true);
}

// The view box of an SVG element as {x, y, w, h}.
export function viewBoxOf(svg) {
  const [x, y, w, h] = svg.getAttribute('viewBox').split(/[\s,]+/).map(Number);
  return { x, y, w, h };
}

function escapeXml(text) {
  return String(text).replace(/[&<>"]/g, (c) => ({ '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;' }[c]));
}

// A bounding box that grows; y is the drawing's (up).
class Extent {
  constructor() {
    this.x0 = Infinity;
    this.y0 = Infinity;
    this.x1 = -Infinity;
    this.y1 = -Infinity;
  }

  add(x, y) {
    if (!Number.isFinite(x) || !Number.isFinite(y)) return;
    this.x0 = Math.min(this.x0, x);
    this.y0 = Math.min(this.y0, y);
    this.x1 = Math.max(this.x1, x);
    this.y1 = Math.max(this.y1, y);
  }

  empty() { return this.x0 > this.x1; }

  // As an SVG box (y down).
  svgBox() {
    if (this.empty()) return { x: -1, y: -1, w: 2, h: 2 };
    return { x: this.x0, y: -this.y1, w: this.x1 - this.x0, h: this.y1 - this.y0 };
  }
}

function coordinate(value) {
  return Number.isFinite(value) ? String(Math.round(value * 1e9) / 1e9) : '0';
}

// Path data through `points` ([x, y, x, y, ...], drawing units), closed
// when `closed`; y negated for SVG.
function straightPath(points, closed) {
  let d = '';
  for (let k = 0; k + 1 < points.length; k += 2) {
    d += (k === 0 ? 'M' : 'L') + coordinate(points[k]) + ' ' + coordinate(-points[k + 1]) + ' ';
  }
  return d + (closed && points.length > 2 ? 'Z' : '');
}

// Path data of a polyline with bulges ([x, y, bulge, ...]): a bulge b
// between two vertices is an arc of sweep 4 atan(b), counter-clockwise for
// b > 0, whose radius is chord (1 + b^2) / (4 |b|). With y negated a
// counter-clockwise arc has SVG's sweep flag 0.
function bulgePath(vertices, closed, extent) {
  const count = vertices.length / 3;
  let d = '';
  for (let k = 0; k < count; ++k) {
    const x = vertices[3 * k];
    const y = vertices[3 * k + 1];
    extent.add(x, y);
    if (k === 0) d += 'M' + coordinate(x) + ' ' + coordinate(-y) + ' ';
    const last = k + 1 === count;
    if (last && !closed) break;
    const next = last ? 0 : k + 1;
    const nx = vertices[3 * next];
    const ny = vertices[3 * next + 1];
    const bulge = vertices[3 * k + 2];
    if (bulge === 0) {
      d += 'L' + coordinate(nx) + ' ' + coordinate(-ny) + ' ';
      continue;
    }
    const chord = Math.hypot(nx - x, ny - y);
    const radius = (chord * (1 + bulge * bulge)) / (4 * Math.abs(bulge));
    // The arc's middle lies the sagitta (chord b / 2) off the chord's middle.
    const sagitta = (chord * bulge) / 2;
    if (chord > 0) extent.add((x + nx) / 2 + (sagitta * (ny - y)) / chord, (y + ny) / 2 - (sagitta * (nx - x)) / chord);
    d += 'A' + coordinate(radius) + ' ' + coordinate(radius) + ' 0 ' + (Math.abs(bulge) > 1 ? 1 : 0) + ' ' +
      (bulge > 0 ? 0 : 1) + ' ' + coordinate(nx) + ' ' + coordinate(-ny) + ' ';
  }
  return d + (closed ? 'Z' : '');
}

// The box of polyline `p`'s vertices, as an SVG box.
export function polylineBox(p) {
  const extent = new Extent();
  for (let k = 0; k + 1 < p.points.length; k += 2) extent.add(p.points[k], p.points[k + 1]);
  return extent.svgBox();
}

// The picture of a DXF drawing's polylines: each one as it was (thin,
// dashed) and as filleted, or, for one left unchanged, in red with the
// side or corner at fault marked. `selected` (an index or -1) is drawn
// heavier. Returns {svg, home}.
export function dxfPicture(preview, selected, titles) {
  const extent = new Extent();
  for (const p of preview.polylines) {
    for (let k = 0; k + 1 < p.points.length; k += 2) extent.add(p.points[k], p.points[k + 1]);
  }
  const parts = [];
  const marks = [];
  const box = extent.svgBox();
  const markRadius = 0.015 * Math.max(box.w, box.h, 1e-9);
  preview.polylines.forEach((p, index) => {
    const classes = ['dxf-polyline', 'dxf-' + p.state];
    if (index === selected) classes.push('dxf-selected');
    const title = '<title>' + escapeXml(titles(p)) + '</title>';
    let shape = '<path class="dxf-before" d="' + straightPath(p.points, p.closed) + '"/>';
    if (p.state === 'filleted') {
      shape += '<path class="dxf-after" d="' + bulgePath(p.after, p.closedAfter, extent) + '"/>';
    }
    parts.push('<g class="' + classes.join(' ') + '" data-index="' + index + '">' + title + shape + '</g>');
    if (p.state === 'unchanged' && p.problem && p.problem.kind !== 'none') {
      const count = p.points.length / 2;
      const at = (i) => [p.points[2 * (i % count)], p.points[2 * (i % count) + 1]];
      if (p.problem.kind === 'short-side' && p.problem.next >= 0) {
        const [x1, y1] = at(p.problem.point);
        const [x2, y2] = at(p.problem.next);
        marks.push('<line class="dxf-failure" x1="' + coordinate(x1) + '" y1="' + coordinate(-y1) + '" x2="' +
          coordinate(x2) + '" y2="' + coordinate(-y2) + '">' + title + '</line>');
      } else if (p.problem.point >= 0) {
        const [x, y] = at(p.problem.point);
        marks.push('<circle class="dxf-failure" cx="' + coordinate(x) + '" cy="' + coordinate(-y) + '" r="' +
          coordinate(markRadius) + '">' + title + '</circle>');
      }
    }
  });
  const home = extent.svgBox();
  const margin = 0.06 * Math.max(home.w, home.h, 1e-9);
  const framed = { x: home.x - margin, y: home.y - margin, w: home.w + 2 * margin, h: home.h + 2 * margin };
  const text = '<svg xmlns="' + svgNamespace + '" class="dxf" viewBox="' + framed.x + ' ' + framed.y + ' ' + framed.w +
    ' ' + framed.h + '"><rect class="dxf-paper" x="' + framed.x + '" y="' + framed.y + '" width="' + framed.w +
    '" height="' + framed.h + '"/>' + parts.join('') + '<g class="dxf-marks">' + marks.join('') + '</g></svg>';
  return { svg: parseSvg(text), home: framed };
}

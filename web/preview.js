// The preview: an SVG picture that the reader zooms with the wheel (or + and
// -), pans by dragging (or with the arrow keys) and fits again; and the DXF
// picture of polylines before and after filleting.

const svgNamespace = 'http://www.w3.org/2000/svg';

// Zoom steps: one wheel notch or key press.
const zoomStep = 1.25;
// The part of the view one arrow key moves it.
const panStep = 0.1;
// Polylines from which on a drawing counts as large (see dxfPicture).
const largeDrawing = 2000;

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

/// Writes coordinates with as many decimals as a drawing of `span` units
/// needs on screen: a millionth of the span, at most 9 decimals.
function coordinateWriter(span) {
  const decimals = Math.min(9, Math.max(0, 6 - Math.floor(Math.log10(Math.max(span, 1e-9)))));
  return (value) => (Number.isFinite(value) ? value.toFixed(decimals) : '0');
}

/// Path data through vertices [first, first + count) of `xy` (x, y pairs,
/// drawing units), closed when `closed`; y negated for SVG.
function straightPath(xy, first, count, closed, write) {
  let d = '';
  for (let k = 0; k < count; ++k) {
    const i = 2 * (first + k);
    d += (k === 0 ? 'M' : 'L') + write(xy[i]) + ' ' + write(-xy[i + 1]);
  }
  return d + (closed && count > 2 ? 'Z' : '');
}

/// Path data of new vertices [first, first + count) of `xyb` (x, y, bulge):
/// a bulge b between two vertices is an arc of sweep 4 atan(b),
/// counter-clockwise for b > 0, whose radius is chord (1 + b^2) / (4 |b|).
/// With y negated a counter-clockwise arc has SVG's sweep flag 0.
function bulgePath(xyb, first, count, closed, write) {
  let d = '';
  for (let k = 0; k < count; ++k) {
    const i = 3 * (first + k);
    const x = xyb[i];
    const y = xyb[i + 1];
    if (k === 0) d += 'M' + write(x) + ' ' + write(-y);
    const last = k + 1 === count;
    if (last && !closed) break;
    const j = 3 * (first + (last ? 0 : k + 1));
    const nx = xyb[j];
    const ny = xyb[j + 1];
    const bulge = xyb[i + 2];
    if (bulge === 0) {
      d += 'L' + write(nx) + ' ' + write(-ny);
      continue;
    }
    const radius = (Math.hypot(nx - x, ny - y) * (1 + bulge * bulge)) / (4 * Math.abs(bulge));
    d += 'A' + write(radius) + ' ' + write(radius) + ' 0 ' + (Math.abs(bulge) > 1 ? 1 : 0) + ' ' +
      (bulge > 0 ? 0 : 1) + ' ' + write(nx) + ' ' + write(-ny);
  }
  return d + (closed ? 'Z' : '');
}

/// The box of vertices [first, first + count) of `xy`, as an SVG box.
function boxOf(xy, first, count) {
  const extent = new Extent();
  for (let k = first; k < first + count; ++k) extent.add(xy[2 * k], xy[2 * k + 1]);
  return extent.svgBox();
}

/// The box of polyline `index` of the open DXF document `dxf`.
export function polylineBox(dxf, index) {
  const [first, count] = dxf.polylines[index].points;
  return boxOf(dxf.vertices, first, count);
}

function svgElement(name, attributes) {
  const made = document.createElementNS(svgNamespace, name);
  for (const [key, value] of Object.entries(attributes)) made.setAttribute(key, String(value));
  return made;
}

/// The picture of a DXF drawing's polylines (`dxf`, from openDxf) filleted
/// as `fillet` says: each one as it was, thin and dashed, and as filleted;
/// one left unchanged in red with the side or corner at fault marked.
/// Polyline `selected` (or none, -1) is drawn again on top, heavier. One
/// path for each kind of line, however many polylines: a drawing of tens of
/// thousands draws as quickly as one of three. Returns {svg, home}.
export function dxfPicture(dxf, fillet, selected) {
  const xy = dxf.vertices;
  const home = boxOf(xy, 0, xy.length / 2);
  const margin = 0.06 * Math.max(home.w, home.h, 1e-9);
  const framed = { x: home.x - margin, y: home.y - margin, w: home.w + 2 * margin, h: home.h + 2 * margin };
  const write = coordinateWriter(Math.max(home.w, home.h));
  const markRadius = 0.015 * Math.max(home.w, home.h, 1e-9);
  const before = { filleted: [], unchanged: [], 'other-layer': [], 'not-2d': [] };
  const after = [];
  const failures = [];
  const vertex = (first, count, i) => [xy[2 * (first + (i % count))], xy[2 * (first + (i % count)) + 1]];
  // In a large drawing the filleted polylines are drawn only as filleted:
  // their old shapes would double what the browser paints.
  const showFilletedBefore = dxf.polylines.length <= largeDrawing;
  dxf.polylines.forEach((p, index) => {
    const state = fillet.polylines[index];
    const [first, count] = p.points;
    if (state.state !== 'filleted' || showFilletedBefore) {
      before[state.state].push(straightPath(xy, first, count, p.closed, write));
    }
    if (state.state === 'filleted') {
      after.push(bulgePath(fillet.after, state.after[0], state.after[1], state.closedAfter, write));
    }
    const problem = state.problem;
    if (state.state === 'unchanged' && problem && problem.kind !== 'none' && count > 0) {
      if (problem.kind === 'short-side' && problem.next >= 0) {
        const [x1, y1] = vertex(first, count, problem.point);
        const [x2, y2] = vertex(first, count, problem.next);
        failures.push('M' + write(x1) + ' ' + write(-y1) + 'L' + write(x2) + ' ' + write(-y2));
      } else if (problem.point >= 0) {
        // A ring about the corner: two half circles.
        const [x, y] = vertex(first, count, problem.point);
        const r = write(markRadius);
        failures.push('M' + write(x - markRadius) + ' ' + write(-y) + 'a' + r + ' ' + r + ' 0 1 0 ' +
          write(2 * markRadius) + ' 0a' + r + ' ' + r + ' 0 1 0 ' + write(-2 * markRadius) + ' 0');
      }
    }
  });
  const svg = svgElement('svg', { class: 'dxf', viewBox: `${framed.x} ${framed.y} ${framed.w} ${framed.h}` });
  svg.append(svgElement('rect', { class: 'dxf-paper', x: framed.x, y: framed.y, width: framed.w, height: framed.h }));
  for (const [state, paths] of Object.entries(before)) {
    if (paths.length > 0) svg.append(svgElement('path', { class: 'dxf-before dxf-' + state, d: paths.join('') }));
  }
  if (after.length > 0) svg.append(svgElement('path', { class: 'dxf-after', d: after.join('') }));
  if (selected >= 0 && selected < dxf.polylines.length) {
    const p = dxf.polylines[selected];
    const state = fillet.polylines[selected];
    const d = state.state === 'filleted'
      ? bulgePath(fillet.after, state.after[0], state.after[1], state.closedAfter, write)
      : straightPath(xy, p.points[0], p.points[1], p.closed, write);
    svg.append(svgElement('path', { class: 'dxf-selected dxf-' + state.state, d }));
  }
  if (failures.length > 0) svg.append(svgElement('path', { class: 'dxf-failure', d: failures.join('') }));
  return { svg, home: framed };
}

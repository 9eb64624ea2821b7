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

/// Path data of vertices [first, first + count) of `xyb` (x, y, bulge of
/// the piece that starts there; drawing units), closed when `closed`: a
/// bulge b between two vertices is an arc of sweep 4 atan(b),
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

/// Path data of a polyline's run of straight pieces from vertex `from` to
/// vertex `to` of its `count` vertices (`to` below `from`: the run wraps
/// past the last vertex to the first).
function runPath(xyb, first, count, from, to, write) {
  let d = '';
  const steps = (to - from + count) % count;
  for (let k = 0; k <= steps; ++k) {
    const i = 3 * (first + ((from + k) % count));
    d += (k === 0 ? 'M' : 'L') + write(xyb[i]) + ' ' + write(-xyb[i + 1]);
  }
  return d;
}

/// The box of vertices [first, first + count) of `xyb`, as an SVG box. An
/// arc adds its middle, the point farthest from its chord: for a chord d
/// from a vertex, bulge b, it lies b |d| / 2 to the right of the chord's
/// middle (to the right for a counter-clockwise arc), (b / 2) (d.y, -d.x)
/// from it. A quarter circle or less lies in the box of its ends and middle
/// but for a sliver; that is all a view's frame needs.
function boxOf(xyb, first, count, closed) {
  const extent = new Extent();
  for (let k = 0; k < count; ++k) {
    const i = 3 * (first + k);
    extent.add(xyb[i], xyb[i + 1]);
    const bulge = xyb[i + 2];
    if (bulge === 0 || (k + 1 === count && !closed)) continue;
    const j = 3 * (first + (k + 1) % count);
    const dx = xyb[j] - xyb[i];
    const dy = xyb[j + 1] - xyb[i + 1];
    extent.add((xyb[i] + xyb[j]) / 2 + (bulge / 2) * dy, (xyb[i + 1] + xyb[j + 1]) / 2 - (bulge / 2) * dx);
  }
  return extent.svgBox();
}

/// The box of all polylines of the open DXF document `dxf`.
function drawingBox(dxf) {
  const extent = new Extent();
  dxf.polylines.forEach((p, index) => {
    if (p.points[1] === 0) return;
    const box = polylineBox(dxf, index);
    extent.add(box.x, -box.y);
    extent.add(box.x + box.w, -box.y - box.h);
  });
  return extent.svgBox();
}

/// The box of polyline `index` of the open DXF document `dxf`.
export function polylineBox(dxf, index) {
  const p = dxf.polylines[index];
  return boxOf(dxf.vertices, p.points[0], p.points[1], p.closed);
}

function svgElement(name, attributes) {
  const made = document.createElementNS(svgNamespace, name);
  for (const [key, value] of Object.entries(attributes)) made.setAttribute(key, String(value));
  return made;
}

/// The picture of a DXF drawing's polylines (`dxf`, from openDxf) filleted
/// as `fillet` says: each one as it was, thin and dashed, and as filleted;
/// one left unchanged in red, and in one filleted in part the runs left as
/// they were, with the side or corner at fault marked. Polyline `selected`
/// (or none, -1) is drawn again on top, heavier. One path for each kind of
/// line, however many polylines: a drawing of tens of thousands draws as
/// quickly as one of three. Returns {svg, home}.
export function dxfPicture(dxf, fillet, selected) {
  const xyb = dxf.vertices;
  const home = drawingBox(dxf);
  const margin = 0.06 * Math.max(home.w, home.h, 1e-9);
  const framed = { x: home.x - margin, y: home.y - margin, w: home.w + 2 * margin, h: home.h + 2 * margin };
  const write = coordinateWriter(Math.max(home.w, home.h));
  const markRadius = 0.015 * Math.max(home.w, home.h, 1e-9);
  const before = { filleted: [], partly: [], unchanged: [], skipped: [], 'other-layer': [], 'not-2d': [] };
  const after = [];
  const runsLeft = [];
  const failures = [];
  const vertex = (first, count, i) => [xyb[3 * (first + (i % count))], xyb[3 * (first + (i % count)) + 1]];
  // In a large drawing the filleted polylines are drawn only as filleted:
  // their old shapes would double what the browser paints.
  const showFilletedBefore = dxf.polylines.length <= largeDrawing;
  dxf.polylines.forEach((p, index) => {
    const state = fillet.polylines[index];
    const [first, count] = p.points;
    const changed = state.state === 'filleted' || state.state === 'partly';
    if (!changed || showFilletedBefore) {
      before[state.state].push(bulgePath(xyb, first, count, p.closed, write));
    }
    if (changed) {
      after.push(bulgePath(fillet.after, state.after[0], state.after[1], state.closedAfter, write));
    }
    if (!state.runs || count === 0) return;
    for (const run of state.runs) {
      if (state.state === 'partly') runsLeft.push(runPath(xyb, first, count, run.first, run.last, write));
      const problem = run.problem;
      if (problem.kind === 'short_side' && problem.next >= 0) {
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
  if (runsLeft.length > 0) svg.append(svgElement('path', { class: 'dxf-run-left', d: runsLeft.join('') }));
  if (selected >= 0 && selected < dxf.polylines.length) {
    const p = dxf.polylines[selected];
    const state = fillet.polylines[selected];
    const d = state.after
      ? bulgePath(fillet.after, state.after[0], state.after[1], state.closedAfter, write)
      : bulgePath(xyb, p.points[0], p.points[1], p.closed, write);
    svg.append(svgElement('path', { class: 'dxf-selected dxf-' + state.state, d }));
  }
  if (failures.length > 0) svg.append(svgElement('path', { class: 'dxf-failure', d: failures.join('') }));
  return { svg, home: framed };
}

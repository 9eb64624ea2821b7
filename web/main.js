// The page: opens a file, shows it filleted at the size the reader sets,
// says why an outline is refused, and downloads what the programs write.

import createRrensenModule from './rrensen.mjs';
import { preferredLanguage, text, problemSentence, skipSentence, translatePage } from './i18n.js';
import { makeApi, makePageSide } from './api.js';
import { Viewport, parseSvg, viewBoxOf, dxfPicture, polylineBox } from './preview.js';

// rrensen-dxf's options as controls, one row each: `key` is the member of
// rrensen.filletDxf's options, `type` the kind of input. A row shows only
// when the module reads that option (rrensen.dxfOptions). An option gets a
// row once the preview shows what it does: `join` (rrensen.filletDxf takes
// it) has none while the preview draws polylines only, not the chains that
// joining lines and arcs makes.
const dxfControls = [
  { key: 'corners', type: 'select', label: 'corners', hint: 'cornersHint',
    choices: { all: 'cornersAll', convex: 'cornersConvex', concave: 'cornersConcave' } },
  { key: 'refillet', type: 'checkbox', label: 'refillet', hint: 'refilletHint' },
  { key: 'rechamfer', type: 'number', label: 'rechamfer', hint: 'rechamferHint' },
  { key: 'layer', type: 'text', label: 'layer', hint: 'layerHint' },
  { key: 'closeGap', type: 'number', label: 'closeGap' },
];

// The corner styles: the word rrensen.filletDxf's `style` takes, what the
// size measures, and the style's name (keys of i18n.js).
const styles = {
  chord: { size: 'sizeChord', measure: 'measureChord', name: 'styleChord' },
  radius: { size: 'sizeRadius', measure: 'measureRadius', name: 'styleRadius' },
  chamfer: { size: 'sizeDistance', measure: 'measureDistance', name: 'styleChamfer' },
  'chord-chamfer': { size: 'sizeChord', measure: 'measureChord', name: 'styleChordChamfer' },
  dogbone: { size: 'sizeDiameter', measure: 'measureDiameter', name: 'styleDogbone' },
  tbone: { size: 'sizeDiameter', measure: 'measureDiameter', name: 'styleTBone' },
};

// Exchange files take the sizes rrensen /c takes: below 20.
const exchangeSizeLimit = 20;
const largestExchangeSlider = 19.999;
// Rows of the polyline list drawn at most; a drawing with more says so.
const mostRows = 2000;

const element = (id) => document.getElementById(id);

const page = {
  language: 'en',
  api: null,
  side: null,
  kind: null,  // 'exchange' or 'dxf'
  name: '',
  bytes: null,
  dxf: null,  // the open DXF document
  fillet: null,  // how the open DXF document came out at the last drawing
  selected: -1,
  renderPending: false,
  note: '',  // a line said before the next message (the largest size set)
  downloadUrl: null,
  viewport: null,
  rows: null,  // the polyline list's buttons, made at a file's first drawing
};

// DXF when the bytes begin as a DXF file does: (comments and) group code
// 0 with SECTION, or the binary form's sentinel; else an exchange file.
export function isDxf(bytes) {
  const head = new TextDecoder('windows-1252').decode(bytes.subarray(0, 4096));
  if (head.startsWith('AutoCAD Binary DXF')) return true;
  const lines = head.replace(/^(\uFEFF|\u00EF\u00BB\u00BF)/, '').split(/\r?\n|\r/).map((line) => line.trim());
  let k = 0;
  while (k < lines.length && lines[k] === '') ++k;
  while (lines[k] === '999') k += 2;
  return lines[k] === '0' && lines[k + 1] === 'SECTION';
}

function say(key, params) {
  return text(page.language, key, params);
}

function sizeText() {
  return element('size').value.trim();
}

// The corner style chosen: always chord arcs for an exchange file, the
// tool's only style.
function styleWord() {
  return page.kind === 'dxf' ? element('style').value : 'chord';
}

// rrensen-dxf's options from the controls, as typed: the module reads
// them (an empty one is not given) and refuses what rrensen-dxf refuses.
function dxfOptions() {
  const options = { size: sizeText(), style: styleWord() };
  for (const control of dxfControls) {
    const input = element('dxf-' + control.key);
    if (!input) continue;
    options[control.key] = control.type === 'checkbox' ? input.checked : input.value.trim();
  }
  return options;
}

function buildDxfControls() {
  const holder = element('dxf-options');
  for (const control of dxfControls) {
    if (!page.api.dxfOptions.includes(control.key)) continue;
    const wrapper = document.createElement('div');
    wrapper.className = 'field';
    const label = document.createElement('label');
    label.htmlFor = 'dxf-' + control.key;
    label.dataset.text = control.label;
    const input = document.createElement(control.type === 'select' ? 'select' : 'input');
    input.id = 'dxf-' + control.key;
    if (control.type === 'select') {
      for (const [value, text] of Object.entries(control.choices)) {
        const option = document.createElement('option');
        option.value = value;
        option.dataset.text = text;
        input.append(option);
      }
    } else {
      input.type = control.type;
    }
    if (control.type === 'number') {
      input.min = '0';
      input.step = 'any';
    }
    if (control.hint) input.dataset.title = control.hint;
    input.addEventListener(control.type === 'text' || control.type === 'number' ? 'input' : 'change',
      () => scheduleRender());
    if (control.type === 'checkbox') {
      wrapper.append(input, label);
    } else {
      wrapper.append(label, input);
    }
    holder.append(wrapper);
  }
}

function setMessage(lines) {
  const all = page.note ? [page.note, ...lines] : lines;
  page.note = '';
  element('message').textContent = all.filter((line) => line).join(' ');
}

function setSize(value) {
  element('size').value = value;
  syncSlider();
}

function syncSlider() {
  const slider = element('size-slider');
  const value = Number(sizeText());
  if (page.kind === 'dxf' && Number.isFinite(value) && value > Number(slider.max)) {
    slider.max = String(Math.pow(10, Math.ceil(Math.log10(value * 1.0001))));
  }
  if (Number.isFinite(value)) slider.value = String(value);
}

// Puts the text of `key` into the element `id`, and keeps the key for a
// change of language.
function setText(id, key) {
  element(id).dataset.text = key;
  element(id).textContent = say(key);
}

// Labels the size by what it measures in the chosen style: a chord, a
// radius or a distance.
function labelSize() {
  setText('size-label', styles[styleWord()].size);
}

// Sets the size controls' ranges and the style control for the kind of
// file: exchange files know chord arcs only, so the style is DXF's alone.
function configureSize() {
  const style = element('style');
  style.disabled = page.kind !== 'dxf';
  setText('style-hint', page.kind === 'dxf' ? 'styleHintDxf' : 'styleHintExchange');
  labelSize();
  const size = element('size');
  const slider = element('size-slider');
  if (page.kind === 'exchange') {
    size.max = String(largestExchangeSlider);
    slider.max = String(largestExchangeSlider);
    slider.step = '0.001';
    const value = Number(sizeText());
    if (!(value >= 0 && value < exchangeSizeLimit)) setSize('5');
    setText('size-hint', 'sizeHintExchange');
  } else {
    size.removeAttribute('max');
    slider.max = '20';
    slider.step = '0.001';
    setText('size-hint', 'sizeHintDxf');
  }
  syncSlider();
}

async function load(bytes, name) {
  if (page.dxf) page.dxf.close();
  page.dxf = null;
  page.fillet = null;
  page.bytes = bytes;
  page.name = name;
  page.kind = isDxf(bytes) ? 'dxf' : 'exchange';
  page.selected = -1;
  element('console').textContent = '';
  element('file-info').textContent = say('loaded', {
    name, kind: say(page.kind === 'dxf' ? 'kindDxf' : 'kindExchange'), bytes: bytes.length,
  });
  element('dxf-options').hidden = page.kind !== 'dxf';
  element('polyline-section').hidden = page.kind !== 'dxf';
  if (page.kind === 'dxf') {
    const start = performance.now();
    page.dxf = page.side.openDxf(bytes);
    measure('rrensen: read', start);
  }
  configureSize();
  page.rows = null;
  element('polylines').replaceChildren();
  setDownloadEnabled(true);
  element('download').dataset.title = page.kind === 'dxf' ? 'downloadDxf' : 'downloadExchange';
  element('download').title = say(element('download').dataset.title);
  page.viewport.moved = false;
  render(false);
}

function scheduleRender() {
  if (page.renderPending) return;
  page.renderPending = true;
  requestAnimationFrame(() => {
    page.renderPending = false;
    render(true);
  });
}

// Draws the file at the current size and says what came of it.
function render(keepView) {
  if (!page.bytes) {
    setMessage([say('noFile')]);
    return;
  }
  if (page.kind === 'exchange') {
    renderExchange(keepView);
  } else {
    renderDxf(keepView);
  }
  // For scripts that wait for a redraw: the size it was drawn at.
  element('preview').dataset.drawnSize = sizeText();
  element('preview').dataset.draws = String(Number(element('preview').dataset.draws || 0) + 1);
}

function renderExchange(keepView) {
  const typed = sizeText();
  const result = page.side.previewExchange(page.bytes, typed, page.name);
  const svg = parseSvg(result.svg);
  svg.classList.add('exchange');
  page.viewport.show(svg, viewBoxOf(svg), keepView);
  const size = result.size.toFixed(3);
  const lines = [];
  const typedValue = Number(typed);
  if (typed !== '' && !(Math.abs(typedValue) < exchangeSizeLimit)) lines.push(say('badSizeExchange', { size: typed }));
  if (!result.hasPoints) {
    lines.push(say('noPoints'));
  } else if (result.result === 0) {
    lines.push(say('drawn', {
      shape: say(result.closed ? 'closedShape' : 'openShape'), points: result.points, size, corners: result.corners,
      cornerNoun: say(result.corners === 1 ? 'cornerOne' : 'cornerMany'),
    }));
  } else {
    const reason = result.withinLimits ? problemSentence(page.language, result.problem, result.reason)
      : (page.language === 'en' ? result.reason : say('limits'));
    lines.push(say('refused', { size, result: result.result, reason }));
    lines.push(result.largest === null ? say('largestNone') : say('largestIs', { size: result.largest.toFixed(3) }));
  }
  setMessage(lines);
}

// A polyline in the list: `p` as read, `state` as filleted.
function polylineTitle(p, state) {
  const handle = p.handle || say('noHandle');
  return p.entity + ' ' + handle + ' \u00b7 ' + p.layer + ' \u00b7 ' + say('line', { line: p.line }) + ' \u00b7 ' +
    stateText(state);
}

function stateText(state) {
  switch (state.state) {
    case 'filleted': return say('stateFilleted');
    case 'partly': return say('statePartly') + ': ' + reasonOf(state);
    case 'unchanged': return say('stateUnchanged') + ': ' + reasonOf(state);
    case 'skipped': return say('stateSkipped') + ': ' + reasonOf(state);
    case 'other-layer': return say('stateOtherLayer');
    default: return say('stateNot2d');
  }
}

// Why a polyline is not wholly filleted, as rrensen-dxf says it: why it was
// skipped, or why its first refused run was, with the largest size that
// fillets that run, and the run's vertices (from 1) where rrensen-dxf names
// them.
function reasonOf(state) {
  if (state.state === 'skipped') return skipSentence(page.language, state.code, state.reason);
  const run = state.runs[0];
  let reason = problemSentence(page.language, run.problem, run.reason) + '; ' +
    (run.largest === null ? say('runLargestNone') : say('runLargest', { size: run.largestText }));
  if (state.namesRuns) reason = say('runLeft', { first: run.first + 1, last: run.last + 1, reason });
  return reason;
}

function renderDxf(keepView) {
  const dxf = page.dxf;
  if (dxf.error) {
    page.viewport.clear();
    setMessage([say('unreadableDxf', { error: dxf.error, line: dxf.errorLine })]);
    return;
  }
  let mark = performance.now();
  const fillet = dxf.fillet(dxfOptions());
  if (fillet.error) {
    page.viewport.clear();
    setMessage([say('badOptions', { error: fillet.error.replace(/^rrensen-dxf: /, '').trim() })]);
    return;
  }
  page.fillet = fillet;
  mark = measure('rrensen: fillet', mark);
  const { svg, home } = dxfPicture(dxf, fillet, page.selected);
  page.viewport.show(svg, home, keepView);
  mark = measure('rrensen: picture', mark);
  const lines = [];
  if (fillet.filleted + fillet.partly + fillet.unchanged === 0) {
    lines.push(say('dxfNothing'));
  } else {
    const style = styles[fillet.style];
    lines.push(say('dxfSummary', {
      filleted: fillet.filleted, partly: fillet.partly, unchanged: fillet.unchanged,
      style: say(style.name), measure: say(style.measure), size: fillet.sizeText,
    }));
  }
  // The selected polyline's refusal, else the first one's.
  const states = fillet.polylines;
  const notWhole = (state) => state && ['partly', 'unchanged', 'skipped'].includes(state.state);
  let refused = notWhole(states[page.selected]) ? page.selected : -1;
  if (refused < 0) refused = states.findIndex(notWhole);
  if (refused >= 0) {
    const p = dxf.polylines[refused];
    lines.push(say(states[refused].state === 'partly' ? 'polylinePartly' : 'polylineRefused', {
      entity: p.entity, handle: p.handle || say('noHandle'), layer: p.layer, reason: reasonOf(states[refused]),
    }));
  }
  setMessage(lines);
  if (page.rows === null) buildRows(states.length);
  updateRows(fillet);
  measure('rrensen: list', mark);
}

// Records how long a step of a drawing took (in the browser's performance
// timeline, for those who measure the page); returns the time now.
function measure(name, start) {
  const now = performance.now();
  performance.measure(name, { start, end: now });
  return now;
}

// The polyline list: one button a polyline, made once a file, its text
// renewed at every redraw.
function buildRows(count) {
  const list = element('polylines');
  list.replaceChildren();
  page.rows = [];
  const all = document.createElement('li');
  const allButton = document.createElement('button');
  allButton.type = 'button';
  allButton.dataset.text = 'allPolylines';
  allButton.textContent = say('allPolylines');
  allButton.addEventListener('click', () => choose(-1));
  all.append(allButton);
  list.append(all);
  for (let index = 0; index < Math.min(count, mostRows); ++index) {
    const row = document.createElement('li');
    const button = document.createElement('button');
    button.type = 'button';
    button.dataset.index = String(index);
    button.addEventListener('click', () => choose(index));
    row.append(button);
    list.append(row);
    page.rows.push(button);
  }
  if (count > mostRows) {
    const more = document.createElement('li');
    more.textContent = say('moreRows', { count: count - mostRows });
    list.append(more);
  }
}

function updateRows(fillet) {
  page.rows.forEach((button, index) => {
    const state = fillet.polylines[index];
    button.textContent = polylineTitle(page.dxf.polylines[index], state);
    button.className = 'state-' + state.state;
    button.setAttribute('aria-pressed', String(index === page.selected));
  });
}

function choose(index) {
  page.selected = index;
  render(true);
  if (index < 0) {
    page.viewport.fit();
  } else {
    page.viewport.zoomTo(polylineBox(page.dxf, index));
  }
}

function setLargest() {
  if (!page.bytes) return;
  let size;
  if (page.kind === 'exchange') {
    size = page.side.largestExchangeSize(page.bytes);
  } else {
    if (page.dxf.error) return;
    size = page.dxf.largestSize(page.selected, dxfOptions());
  }
  if (Number.isNaN(size)) {
    page.note = say('largestNone');
  } else if (size === Infinity) {
    page.note = say('largestEvery');
  } else {
    setSize(String(size));
    page.note = say('largestSet', { size: String(size) });
  }
  render(true);
}

function setDownloadEnabled(enabled) {
  const link = element('download');
  link.setAttribute('aria-disabled', String(!enabled));
  link.classList.toggle('disabled', !enabled);
}

// Makes the download link's file as the click happens: the link then
// follows its new address.
function prepareDownload(event) {
  if (!page.bytes) {
    event.preventDefault();
    return;
  }
  let bytes;
  let name;
  let transcript;
  if (page.kind === 'exchange') {
    const typed = sizeText();
    const run = page.api.runExchange(page.bytes, typed === '' ? [] : ['-c' + typed]);
    bytes = run.output;
    name = 'KDX_TEMP.TXT';
    transcript = run.console + run.errors + say('statusLine', { status: run.status });
  } else {
    const run = page.api.filletDxf(page.bytes, dxfOptions());
    transcript = run.errors + say('statusLine', { status: run.status });
    bytes = run.dxf;
    name = page.name.replace(/\.dxf$/i, '') + '-filleted.dxf';
    // Status 1 writes the drawing too: some polylines are left as they were.
    if (run.status === 2) {
      element('console').textContent = transcript;
      element('console-section').open = true;
      event.preventDefault();
      return;
    }
  }
  element('console').textContent = transcript;
  if (page.downloadUrl) URL.revokeObjectURL(page.downloadUrl);
  page.downloadUrl = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
  const link = element('download');
  link.href = page.downloadUrl;
  link.download = name;
}

function base64Bytes(text) {
  const binary = atob(text);
  const bytes = new Uint8Array(binary.length);
  for (let k = 0; k < binary.length; ++k) bytes[k] = binary.charCodeAt(k);
  return bytes;
}

// The examples: inlined in the single-file page, else listed beside it.
async function loadExamples() {
  const embedded = element('embedded-examples');
  if (embedded) {
    const files = JSON.parse(embedded.textContent);
    return { names: Object.keys(files), read: async (name) => base64Bytes(files[name]) };
  }
  const response = await fetch('examples/index.json');
  const names = await response.json();
  return {
    names,
    read: async (name) => new Uint8Array(await (await fetch('examples/' + encodeURIComponent(name))).arrayBuffer()),
  };
}

function setLanguage(language) {
  page.language = language;
  element('language').value = language;
  translatePage(document, language);
  if (page.bytes) {
    element('file-info').textContent = say('loaded', {
      name: page.name, kind: say(page.kind === 'dxf' ? 'kindDxf' : 'kindExchange'), bytes: page.bytes.length,
    });
  }
  render(true);
}

async function start() {
  page.language = preferredLanguage(navigator.languages && navigator.languages.length ? navigator.languages : [navigator.language]);
  translatePage(document, page.language);
  element('language').value = page.language;
  page.viewport = new Viewport(element('preview'));
  // The examples' list and the module load side by side.
  const examplesLoading = loadExamples();
  const wasm = await createRrensenModule();
  page.api = makeApi(wasm);
  page.side = makePageSide(wasm);
  globalThis.rrensen = page.api;
  element('version').textContent = page.api.version;
  buildDxfControls();
  translatePage(document, page.language);

  const examples = await examplesLoading;
  for (const name of examples.names) {
    const option = document.createElement('option');
    option.value = name;
    option.textContent = name;
    element('example').append(option);
  }
  element('example').addEventListener('change', async () => {
    const name = element('example').value;
    if (!name) return;
    element('file').value = '';  // the file chosen before is not the one shown
    await load(await examples.read(name), name);
  });
  element('file').addEventListener('change', async () => {
    const file = element('file').files[0];
    if (!file) return;
    element('example').value = '';
    await load(new Uint8Array(await file.arrayBuffer()), file.name);
  });
  document.addEventListener('dragover', (event) => {
    event.preventDefault();
    document.body.classList.add('dropping');
  });
  document.addEventListener('dragleave', (event) => {
    if (event.relatedTarget === null) document.body.classList.remove('dropping');
  });
  document.addEventListener('drop', async (event) => {
    event.preventDefault();
    document.body.classList.remove('dropping');
    const file = event.dataTransfer.files[0];
    if (file) await load(new Uint8Array(await file.arrayBuffer()), file.name);
  });
  element('size').addEventListener('input', () => {
    syncSlider();
    scheduleRender();
  });
  element('style').addEventListener('change', () => {
    labelSize();
    scheduleRender();
  });
  element('size-slider').addEventListener('input', () => {
    element('size').value = element('size-slider').value;
    scheduleRender();
  });
  element('largest').addEventListener('click', setLargest);
  element('download').addEventListener('click', prepareDownload);
  element('zoom-in').addEventListener('click', () => page.viewport.zoomAt(0.8));
  element('zoom-out').addEventListener('click', () => page.viewport.zoomAt(1.25));
  element('fit').addEventListener('click', () => page.viewport.fit());
  element('language').addEventListener('change', () => setLanguage(element('language').value));
  setDownloadEnabled(false);
  render(false);
  // Ready: for scripts, and for the page's own measure of its start.
  document.documentElement.dataset.ready = String(Math.round(performance.now()));
}

start().catch((problem) => {
  element('message').textContent = 'rrensen could not start: ' + problem;
  throw problem;
});

// The page's words in English and Japanese. The language comes from the
// browser (navigator.language) unless the reader picks one; elements with
// data-text="key" get the text of that key, data-label="key" their
// aria-label, data-title="key" their title.

const messages = {
  en: {
    title: 'rrensen in your browser',
    intro: 'Rounds the corners of an exchange file\u2019s indicated points, or of the polylines of a DXF drawing, as the rrensen programs do: every corner is cut back so that its two cut points lie the fillet size apart. Everything runs in this page; no file leaves your computer.',
    language: 'Language',
    inputHeading: 'Drawing',
    openFile: 'Open an exchange file (kdx_temp.txt) or a DXF drawing',
    example: 'or an example',
    chooseExample: 'choose an example\u2026',
    dropHint: 'You can also drop a file anywhere on the page.',
    dropHere: 'Drop the file to open it',
    size: 'Fillet size',
    sizeChord: 'Fillet size (chord)',
    sizeRadius: 'Fillet size (radius)',
    sizeDistance: 'Fillet size (distance)',
    sizeDiameter: 'Cutter diameter',
    sizeSlider: 'Fillet size (slider)',
    style: 'Corners',
    styleChord: 'chord arcs',
    styleRadius: 'radius arcs',
    styleChamfer: 'distance chamfers',
    styleChordChamfer: 'chord chamfers',
    styleDogbone: 'dogbone reliefs',
    styleTBone: 'T-bone reliefs',
    styleHintExchange: 'Exchange files: chord arcs only, as rrensen draws them.',
    styleHintDxf: 'chord arcs: the cut\u2019s ends lie the size apart; radius arcs: arcs of that radius; distance chamfers: straight cuts ending the size from the corner; chord chamfers: straight cuts the size long; dogbones and T-bones: reliefs for a round cutter of that diameter where it cannot reach (a part\u2019s inside corners, a hole\u2019s outside ones).',
    measureChord: 'chord',
    measureRadius: 'radius',
    measureDistance: 'distance',
    measureDiameter: 'cutter diameter',
    sizeHintExchange: 'From 0 to below 20, as rrensen /c takes it.',
    sizeHintDxf: 'Any size of 0 or more, in drawing units.',
    largest: 'Largest size that draws',
    download: 'Download',
    downloadExchange: 'Download KDX_TEMP.TXT as rrensen leaves it',
    downloadDxf: 'Download the filleted DXF',
    zoomIn: 'Zoom in',
    zoomOut: 'Zoom out',
    fit: 'Fit',
    previewLabel: 'Preview. Drag to pan, turn the wheel to zoom; with the keyboard: arrow keys pan, + and - zoom, 0 fits.',
    polylines: 'Polylines',
    polylinesHint: 'Choose one to zoom to it.',
    allPolylines: 'All polylines',
    console: 'What the program wrote',
    corners: 'Which corners',
    cornersHint: 'convex and concave as each closed polyline goes round its inside; an open one has every corner cut',
    cornersAll: 'all',
    cornersConvex: 'convex (outside)',
    cornersConcave: 'concave (inside)',
    layer: 'Only the layer',
    layerHint: 'empty: every layer',
    closeGap: 'Close gaps up to',
    refillet: 'Re-cut earlier fillets',
    refilletHint: 'arcs tangent to the sides on both ends are turned back into sharp corners and cut at this size; size 0 leaves them sharp',
    rechamfer: 'Re-cut chamfers up to',
    rechamferHint: 'straight cuts this long or shorter between two sides are earlier chamfers too; empty: none',
    noFile: 'Open a file, drop one on the page, or choose an example.',
    loading: 'Loading\u2026',
    loaded: '{name}: {kind}, {bytes} bytes',
    kindExchange: 'exchange file',
    kindDxf: 'DXF drawing',
    unreadableDxf: 'This is not a readable ASCII DXF file: {error} (line {line}).',
    noPoints: 'The file holds no indicated points; its drawing records are shown.',
    drawn: '{shape} outline of {points} points, fillet size {size}: {corners} {cornerNoun}.',
    cornerOne: 'corner',
    cornerMany: 'corners',
    closedShape: 'Closed',
    openShape: 'Open',
    refused: 'Refused at fillet size {size} (result {result}): {reason}.',
    largestIs: 'The largest size below 20 that draws it is {size}.',
    largestNone: 'No size below 20 draws it.',
    largestSet: 'Set the fillet size to {size}, the largest that draws.',
    largestEvery: 'Every size draws it.',
    dxfSummary: '{filleted} polylines filleted, {partly} partly, {unchanged} left unchanged ({style}, {measure} {size}).',
    dxfNothing: 'The drawing has no 2-D polyline to fillet.',
    polylineRefused: '{entity} {handle} on layer \u201c{layer}\u201d is left unchanged: {reason}.',
    polylinePartly: '{entity} {handle} on layer \u201c{layer}\u201d is partly filleted: {reason}.',
    runLeft: 'the run from point {first} to point {last} is left as it is: {reason}',
    runLargest: 'the largest size that fillets it is {size}',
    runLargestNone: 'no size fillets it',
    stateFilleted: 'filleted',
    statePartly: 'partly filleted',
    stateUnchanged: 'left unchanged',
    stateSkipped: 'left unchanged',
    stateOtherLayer: 'another layer',
    stateNot2d: 'not 2-D: copied',
    noHandle: '(no handle)',
    line: 'line {line}',
    badOptions: 'rrensen-dxf refuses the options: {error}.',
    badSizeExchange: 'rrensen takes fillet sizes from 0 to below 20; it keeps 5 for {size}.',
    moreRows: '\u2026 and {count} more',
    statusLine: 'exit status {status}',
    limits: 'more than 19 point records, or a last point numbered outside 0 to 19',
    // English sentences come from the library itself (rrensen::Describe)
    // and from rrensen-dxf.
    problem: {},
    skip: {},
  },
  ja: {
    title: 'ブラウザーで使う rrensen',
    intro: '受け渡しファイルの指示点、または DXF 図面のポリラインの角を rrensen と同じく丸めます。どの角も、二つの切り点の間隔が面取り寸法になるように切り詰めます。処理はすべてこのページの中で行い、ファイルがこのコンピューターの外へ出ることはありません。',
    language: '言語',
    inputHeading: '図面',
    openFile: '受け渡しファイル (kdx_temp.txt) または DXF 図面を開く',
    example: 'またはサンプル',
    chooseExample: 'サンプルを選択\u2026',
    dropHint: 'ファイルをページにドロップしても開けます。',
    dropHere: 'ドロップすると開きます',
    size: '面取り寸法',
    sizeChord: '面取り寸法（弦長）',
    sizeRadius: '面取り寸法（半径）',
    sizeDistance: '面取り寸法（距離）',
    sizeDiameter: '刃物の直径',
    sizeSlider: '面取り寸法（スライダー）',
    style: '角の形',
    styleChord: '弦長指定の円弧',
    styleRadius: '半径指定の円弧',
    styleChamfer: '距離指定の面取り',
    styleChordChamfer: '弦長指定の面取り',
    styleDogbone: 'ドッグボーン逃げ',
    styleTBone: 'Tボーン逃げ',
    styleHintExchange: '受け渡しファイルは rrensen と同じ弦長指定の円弧だけです。',
    styleHintDxf: '弦長指定の円弧：切り口の両端の間隔が寸法。半径指定の円弧：その半径の円弧。距離指定の面取り：角から寸法の位置で切る直線。弦長指定の面取り：長さが寸法の直線。ドッグボーンとTボーン：その直径の丸い刃物が届かない角（部品の内角、穴の外角）の逃げ。',
    measureChord: '弦長',
    measureRadius: '半径',
    measureDistance: '距離',
    measureDiameter: '刃物の直径',
    sizeHintExchange: 'rrensen の /c と同じく 0 以上 20 未満。',
    sizeHintDxf: '0 以上の任意の寸法（図面の単位）。',
    largest: '描ける最大の寸法',
    download: 'ダウンロード',
    downloadExchange: 'rrensen が残す KDX_TEMP.TXT をダウンロード',
    downloadDxf: 'フィレット後の DXF をダウンロード',
    zoomIn: '拡大',
    zoomOut: '縮小',
    fit: '全体表示',
    previewLabel: 'プレビュー。ドラッグで移動、ホイールで拡大縮小。キーボードでは矢印キーで移動、+ と - で拡大縮小、0 で全体表示。',
    polylines: 'ポリライン',
    polylinesHint: '選ぶとその位置へ拡大します。',
    allPolylines: 'すべてのポリライン',
    console: 'プログラムの出力',
    corners: '対象の角',
    cornersHint: '凸と凹は閉じたポリラインが内側を回る向きで決まります。開いたポリラインはすべての角を丸めます',
    cornersAll: 'すべて',
    cornersConvex: '凸 (外側)',
    cornersConcave: '凹 (内側)',
    layer: 'このレイヤーだけ',
    layerHint: '空欄ならすべてのレイヤー',
    closeGap: 'この距離までの隙間を閉じる',
    refillet: '以前の丸めを作り直す',
    refilletHint: '両端で辺に接する円弧をとがった角に戻し、この寸法で丸め直します。寸法 0 ではとがった角のままにします',
    rechamfer: '作り直す面取りの長さ上限',
    rechamferHint: '二つの辺の間にあるこの長さ以下の直線も以前の面取りとみなします。空欄: なし',
    noFile: 'ファイルを開くか、ページにドロップするか、サンプルを選んでください。',
    loading: '読み込み中\u2026',
    loaded: '{name}：{kind}、{bytes} バイト',
    kindExchange: '受け渡しファイル',
    kindDxf: 'DXF 図面',
    unreadableDxf: '読み取れる ASCII DXF ファイルではありません：{error}（{line} 行目）。',
    noPoints: '指示点のないファイルです。図形レコードを表示しています。',
    drawn: '{points} 点の{shape}図形、面取り寸法 {size}：角 {corners} か所。',
    cornerOne: '',
    cornerMany: '',
    closedShape: '閉じた',
    openShape: '開いた',
    refused: '面取り寸法 {size} では描けません（結果 {result}）：{reason}。',
    largestIs: '描ける 20 未満の最大の寸法は {size} です。',
    largestNone: '20 未満のどの寸法でも描けません。',
    largestSet: '面取り寸法を描ける最大の {size} にしました。',
    largestEvery: 'どの寸法でも描けます。',
    dxfSummary: '{style}、{measure} {size}：{filleted} 本のポリラインを丸め、{partly} 本は一部だけ丸め、{unchanged} 本はそのままです。',
    dxfNothing: '丸められる 2D ポリラインがありません。',
    polylineRefused: 'レイヤー「{layer}」の {entity} {handle} はそのままです：{reason}。',
    polylinePartly: 'レイヤー「{layer}」の {entity} {handle} は一部だけ丸めました：{reason}。',
    runLeft: '点 {first} から点 {last} までは元のままです：{reason}',
    runLargest: '丸められる最大の寸法は {size} です',
    runLargestNone: 'どの寸法でも丸められません',
    stateFilleted: '丸めた',
    statePartly: '一部だけ丸めた',
    stateUnchanged: 'そのまま',
    stateSkipped: 'そのまま',
    stateOtherLayer: '別のレイヤー',
    stateNot2d: '2D でない：そのままコピー',
    noHandle: '（ハンドルなし）',
    line: '{line} 行目',
    badOptions: 'rrensen-dxf はこの指定を受け付けません: {error}。',
    badSizeExchange: 'rrensen の面取り寸法は 0 以上 20 未満です。{size} では 5 のままです。',
    moreRows: '\u2026ほか {count} 本',
    statusLine: '終了ステータス {status}',
    limits: '点レコードが 19 を超えるか、最後の点の番号が 0〜19 の範囲外です',
    problem: {
      short_side: '点 {point} から点 {next} までの辺の長さは {found} で、{needed} 必要です',
      sharp_corner: '点 {point} の角が鋭すぎます：辺の長さ {found} に対して {needed} 必要です',
      reversal: '点 {point} の角がちょうど折り返しています',
      not_finite: '点 {point} が有限の数ではありません',
      no_corner: '閉じると点が 3 つ未満になります',
      corner_not_finite: '点 {point} の角で有限でない値が出ます',
      invalid_size: '面取り寸法が 0 以上の有限の数ではありません',
      coincident_points: '点 {point} と点 {next} が同じ位置にあり、その間の辺に向きがありません',
      invalid_style: '角の形がライブラリーの知らないものです',
    },
    // Why rrensen-dxf skips a polyline, by its code in the report.
    skip: {
      widths: '頂点に幅があります',
      curve_fit: 'カーブフィットまたはスプラインフィットされています',
      too_many_vertices: '頂点が多すぎます',
      vertex_without_point: '点のない VERTEX があります',
    },
  },
};

export const languages = Object.keys(messages);

// The language the browser prefers, if the page has it; else English.
export function preferredLanguage(navigatorLanguages) {
  for (const tag of navigatorLanguages) {
    const base = String(tag).toLowerCase().split('-')[0];
    if (languages.includes(base)) return base;
  }
  return 'en';
}

// The text of `key` in `language` with {name} replaced by params.name.
export function text(language, key, params = {}) {
  const table = messages[language] || messages.en;
  const template = key in table ? table[key] : messages.en[key];
  if (template === undefined) throw new Error('no text for ' + key);
  return fillIn(template, params);
}

function fillIn(template, params) {
  return template.replace(/\{(\w+)\}/g, (whole, name) => (name in params ? String(params[name]) : whole));
}

// A refusal in words: the library's own English sentence, or the same in
// `language` from its fields (points numbered from 1, lengths to three
// decimals).
export function problemSentence(language, problem, english) {
  const template = (messages[language] || messages.en).problem[problem.kind];
  if (!template) return english;
  return fillIn(template, {
    point: problem.point + 1,
    next: problem.next + 1,
    found: Number(problem.found).toFixed(3),
    needed: Number(problem.needed).toFixed(3),
  });
}

// Why rrensen-dxf skips a polyline, in `language`: its own English
// sentence, or the same by the code it gives.
export function skipSentence(language, code, english) {
  return (messages[language] || messages.en).skip[code] || english;
}

// Puts the texts of `language` into every marked element under `root`.
export function translatePage(root, language) {
  root.documentElement.lang = language;
  for (const element of root.querySelectorAll('[data-text]')) {
    element.textContent = text(language, element.dataset.text);
  }
  for (const element of root.querySelectorAll('[data-label]')) {
    element.setAttribute('aria-label', text(language, element.dataset.label));
  }
  for (const element of root.querySelectorAll('[data-title]')) {
    element.title = text(language, element.dataset.title);
  }
}

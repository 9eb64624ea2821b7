// globalThis.rrensen: the programs as functions over bytes, for the page
// and for anyone's script.
//
//   rrensen.filletDxf(input, {size, style, corners, closeGap, join, joinGap, refillet, rechamfer, layer})
//       -> {dxf, report, status, errors}
//     exactly what `rrensen-dxf -c SIZE [--style STYLE] [--corners WHICH] [--close-gap D]
//     [--join] [--join-gap G] [--refillet] [--rechamfer LEN] [--layer NAME] -o OUT
//     --report REPORT` writes: dxf, the drawing (a
//     Uint8Array; empty only for status 2), report: the JSON-lines report,
//     parsed (an array of objects, one a polyline), status: the exit status
//     (0 all filleted, 1 some left unchanged or filleted in part, 2 bad
//     options or a file that is not readable ASCII DXF), errors: what it
//     writes to standard error. style is "chord" (the default), "radius",
//     "chamfer" or "chord-chamfer"; numbers may be numbers or text, and a
//     member that is undefined, null, false or "" is not given (its default
//     holds). rrensen.dxfOptions lists the members this build reads; a
//     member it does not read, or a value rrensen-dxf refuses, gives status
//     2 and the message.
//   rrensen.runExchange(input, args)
//       -> {output, console, errors, status}
//     output: KDX_TEMP.TXT after `rrensen ARGS` in a folder holding only
//     the input as kdx_temp.txt (a Uint8Array: the host's Shift-JIS records
//     stay bytes), console and errors: standard output and error, status:
//     the exit status.
//   rrensen.version
//
// An input is a Uint8Array, an ArrayBuffer or a string (taken as UTF-8).

// The input as the module takes it: bytes, or a string it encodes as UTF-8.
function moduleInput(input) {
  if (typeof input === 'string' || input instanceof Uint8Array) return input;
  if (input instanceof ArrayBuffer) return new Uint8Array(input);
  if (ArrayBuffer.isView(input)) return new Uint8Array(input.buffer, input.byteOffset, input.byteLength);
  throw new TypeError('rrensen: an input is a Uint8Array, an ArrayBuffer or a string');
}

// Parses JSON lines: one object a line, blank lines skipped.
export function parseJsonLines(text) {
  return String(text).split('\n').filter((line) => line.trim() !== '').map((line) => JSON.parse(line));
}

// The public API over the module `wasm` (from createRrensenModule).
export function makeApi(wasm) {
  return Object.freeze({
    version: wasm.version(),
    // Which members of filletDxf's options this build reads.
    dxfOptions: Object.freeze(wasm.dxfOptionKeys()),
    filletDxf(input, options = {}) {
      const run = wasm.filletDxf(moduleInput(input), options);
      return { dxf: run.dxf, report: parseJsonLines(run.report), status: run.status, errors: run.errors };
    },
    runExchange(input, args = []) {
      if (!Array.isArray(args)) throw new TypeError('rrensen.runExchange: args is an array of words');
      const run = wasm.runExchange(moduleInput(input), args.map(String));
      return { output: run.output, console: run.console, errors: run.errors, status: run.status };
    },
  });
}

// What the page needs beyond the public API: pictures and sizes.
export function makePageSide(wasm) {
  return {
    previewExchange: (input, sizeText, title) => JSON.parse(wasm.previewExchange(moduleInput(input), sizeText, title)),
    largestExchangeSize: (input) => wasm.largestExchangeSize(moduleInput(input)),
    // A DXF file read once: its polylines and their vertices (Float64Array
    // of x, y), and fillet(options): each polyline's state, with the new
    // vertices in `after` (Float64Array of x, y, bulge).
    openDxf(input) {
      const dxfDocument = new wasm.DxfDocument(moduleInput(input));
      const error = dxfDocument.error();
      return {
        error,
        errorLine: dxfDocument.errorLine(),
        polylines: error ? [] : JSON.parse(dxfDocument.polylines()),
        vertices: error ? new Float64Array(0) : dxfDocument.vertices(),
        // Refused options give {error}, as filletDxf refuses them.
        fillet(options) {
          const run = dxfDocument.fillet(options);
          if (run.error) return { error: run.error };
          return Object.assign(JSON.parse(run.json), { after: run.after });
        },
        largestSize: (index, options) => dxfDocument.largestSize(index, options),
        close: () => dxfDocument.delete(),
      };
    },
  };
}

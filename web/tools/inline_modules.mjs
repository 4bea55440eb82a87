// Writes the site's index.html with the page's modules inlined: the module
// script that index.html loads, with everything it imports statically, as one
// inline module script, so that the page starts after one request instead of
// one per module (each request costs the browser, the network service and
// the server a few milliseconds of a small machine's CPU, on the way to the
// first frame). Dynamic imports (the program's maze.js) stay files.
//
//   node inline_modules.mjs IN.html OUT.html FOLDER...
//
// Imports resolve against the FOLDERs in order (the page's sources, then the
// site, where the build writes texture_files.js). Only what the page's
// modules use is understood, and anything else fails the build rather than
// being inlined wrongly:
//   import {a, b as c} from './x.js';   import x from './x.js';
//   export function / async function / const / let / class NAME;   export default EXPR;
// Each module becomes a function run once, in the order the browser would
// evaluate them (a module after everything it imports), whose result holds
// its exports.
import fs from 'node:fs';
import path from 'node:path';

function fail(message) {
  console.error(`inline_modules: ${message}`);
  process.exit(1);
}

const [input, output, ...folders] = process.argv.slice(2);
if (!input || !output || folders.length === 0)
  fail('usage: inline_modules.mjs IN.html OUT.html FOLDER...');

const kScriptTag = /<script type="module" src="(?:\.\/)?([\w.-]+\.js)"><\/script>\n?/;
const kImport = /^import\s+(\{[^}]*\}|[A-Za-z_$][\w$]*)\s+from\s+'\.\/([\w.-]+\.js)';[ \t]*$/gm;
const kExport = /^export\s+(async\s+function\*?|function\*?|const|let|class)\s+([A-Za-z_$][\w$]*)/gm;
const kDefault = /^export\s+default\s+/gm;

function locate(file) {
  for (const folder of folders) {
    const full = path.join(folder, file);
    if (fs.existsSync(full))
      return full;
  }
  return fail(`${file} is in none of ${folders.join(', ')}`);
}

const variable = (file) => `module_${file.replace(/\.js$/, '').replace(/\W/g, '_')}`;

// `{a, b as c}` as a destructuring pattern: `{a, b: c}`.
function pattern(names, file) {
  const parts = names.slice(1, -1).split(',').map((s) => s.trim()).filter(Boolean).map((part) => {
    const m = /^([A-Za-z_$][\w$]*)(?:\s+as\s+([A-Za-z_$][\w$]*))?$/.exec(part);
    if (!m)
      fail(`${file}: cannot inline the import of "${part}"`);
    return m[2] ? `${m[1]}: ${m[2]}` : m[1];
  });
  return `{${parts.join(', ')}}`;
}

const order = [];            // files, each after what it imports
const bodies = new Map();    // file -> its code as a function body
const visiting = new Set();

function add(file) {
  if (bodies.has(file))
    return;
  if (visiting.has(file))
    fail(`${file} is part of an import cycle`);
  visiting.add(file);
  let source = fs.readFileSync(locate(file), 'utf8');
  source = source.replace(kImport, (_, names, from) => {
    add(from);
    return names.startsWith('{') ? `const ${pattern(names, file)} = ${variable(from)};`
                                 : `const ${names} = ${variable(from)}.default;`;
  });
  const exports = [];
  source = source.replace(kExport, (_, kind, name) => {
    exports.push(name);
    return `${kind} ${name}`;
  });
  let defaults = 0;
  source = source.replace(kDefault, () => {
    ++defaults;
    exports.push('default: defaultExport');
    return 'const defaultExport = ';
  });
  if (defaults > 1)
    fail(`${file} has ${defaults} default exports`);
  const left = /^[ \t]*(?:import(?![ \t]*\()|export)\b.*$/m.exec(source);  // a dynamic import() stays
  if (left)
    fail(`${file}: cannot inline "${left[0].trim()}"`);
  if (/<\/script/i.test(source))
    fail(`${file} contains "</script", which would end the inline script`);
  if (file === entry && exports.length)
    fail(`${file} loads the page, so it has nothing to export`);
  bodies.set(file, file === entry ? source : `${source}\nreturn {${exports.join(', ')}};`);
  visiting.delete(file);
  order.push(file);
}

let html = fs.readFileSync(input, 'utf8');
const tag = kScriptTag.exec(html);
if (!tag)
  fail(`${input} loads no module script`);
const entry = tag[1];
add(entry);
const inlined = new Set(order);

const code = order.map((file) => (file === entry ? `// ${file}\n${bodies.get(file)}`
  : `// ${file}\nconst ${variable(file)} = (() => {\n${bodies.get(file)}\n})();\n`)).join('\n');

// The inlined modules need no preload any more; the others keep theirs.
html = html.replace(/<link rel="modulepreload" href="(?:\.\/)?([\w.-]+\.js)">\n/g,
                    (line, file) => (inlined.has(file) ? '' : line));
html = html.replace(kScriptTag, () => `<script type="module">\n${code}</script>\n`);
fs.writeFileSync(output, html);

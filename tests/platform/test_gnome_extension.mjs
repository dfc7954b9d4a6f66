// The GNOME Shell extension's two variants without a GNOME Shell: their metadata parses and
// names the shell versions each is written for, their code is valid JavaScript of its kind
// (ES module for 45 and later, the legacy imports for 43 and 44), and both call the program
// as its bus contract says.
// Usage: node test_gnome_extension.mjs SOURCE_DIR
import {spawnSync} from 'node:child_process';
import {readFileSync} from 'node:fs';
import {join} from 'node:path';

const source = process.argv[2];
const helpers = join(source, 'platform', 'desktop-helpers', 'gnome-shell');
const failures = [];
const check = (ok, what) => { if (!ok) failures.push(what); };

const variants = [
    {folder: '45', versions: v => v >= 45, module: true},
    {folder: '43', versions: v => v === 43 || v === 44, module: false},
];
const listed = {};
for (const variant of variants) {
    const folder = join(helpers, variant.folder);
    let metadata = {};
    try {
        metadata = JSON.parse(readFileSync(join(folder, 'metadata.json'), 'utf8'));
    } catch (error) {
        check(false, `${variant.folder}/metadata.json does not parse: ${error.message}`);
    }
    check(metadata.uuid === 'w3config-focus@w3config.org', `${variant.folder}: uuid ${metadata.uuid}`);
    const versions = metadata['shell-version'] ?? [];
    check(Array.isArray(versions) && versions.length > 0, `${variant.folder}: no shell-version list`);
    for (const version of versions) {
        check(typeof version === 'string' && /^\d+$/.test(version) && variant.versions(Number(version)),
            `${variant.folder}: shell-version ${version} is not a version this variant is written for`);
        check(!(version in listed), `shell-version ${version} is listed by two variants`);
        listed[version] = variant.folder;
    }

    const code = readFileSync(join(folder, 'extension.js'), 'utf8');
    const syntax = spawnSync(process.execPath,
        variant.module ? ['--input-type=module', '--check'] : ['--check', join(folder, 'extension.js')],
        {input: variant.module ? code : undefined, encoding: 'utf8'});
    check(syntax.status === 0, `${variant.folder}/extension.js: ${syntax.stderr}`);
    if (variant.module) {
        check(/^import \{Extension\} from 'resource:\/\/\/org\/gnome\/shell\/extensions\/extension\.js';$/m.test(code),
            '45: does not import Extension from GNOME Shell');
        check(/^export default class \w+ extends Extension \{$/m.test(code), '45: no default Extension class');
        check(!code.includes('imports.'), '45: uses the legacy imports');
    } else {
        check(/^const \{[^}]*\} = imports\.gi;$/m.test(code), '43: does not take GObject bindings from imports.gi');
        check(/^function init\(\) \{$/m.test(code), '43: no init()');
        check(!/^import /m.test(code), '43: uses ES module imports');
    }
    for (const needed of ["'org.w3config.W3Config1'", "'/org/w3config/W3Config1/ActiveApplication'",
                          "'org.w3config.ActiveApplication1'", "'Activated'", "'(ssu)'", "'notify::focus-window'",
                          'Gio.DBusCallFlags.NO_AUTO_START', 'enable()', 'disable()', 'global.display.disconnect'])
        check(code.includes(needed), `${variant.folder}/extension.js lacks ${needed}`);
}
// Each GNOME from 43 to the newest listed finds exactly one variant.
const newest = Math.max(...Object.keys(listed).map(Number));
for (let version = 43; version <= newest; ++version)
    check(String(version) in listed, `no variant lists GNOME ${version}`);

if (failures.length > 0) {
    console.log(failures.map(failure => `FAIL: ${failure}`).join('\n'));
    process.exit(1);
}
console.log('both GNOME Shell extension variants are well formed');

// The desktop helpers run against stand-ins of what their desktop gives them: the KWin script
// with Plasma 6's and Plasma 5.27's workspace, each GNOME Shell extension variant with a
// display whose focus changes. Each must call the program's Activated with the window's
// application id, window class and process, and nothing for no window.
// Usage: node --experimental-vm-modules test_desktop_helpers.mjs SOURCE_DIR
import {readFileSync} from 'node:fs';
import {join} from 'node:path';
import vm from 'node:vm';
import assert from 'node:assert/strict';

const helpers = join(process.argv[2], 'platform', 'desktop-helpers');
const target = ['org.w3config.W3Config1', '/org/w3config/W3Config1/ActiveApplication',
                'org.w3config.ActiveApplication1', 'Activated'];
const failures = [];
async function check(name, body) {
    try {
        await body();
    } catch (error) {
        failures.push(`${name}: ${error.message}`);
    }
}

// A signal of KWin's workspace: scripts connect to it, the test fires it.
function signal() {
    const handlers = [];
    return {connect: handler => handlers.push(handler), fire: value => handlers.forEach(handler => handler(value))};
}

function runKWinScript(workspace) {
    const calls = [];
    const callDBus = (...args) => calls.push(args);
    vm.runInNewContext(readFileSync(join(helpers, 'kwin', 'w3config-active-application.js'), 'utf8'),
        {workspace, callDBus, ArrayBuffer, Uint8Array, String});
    return calls;
}

const bytes = text => new Uint8Array([...text].map(c => c.charCodeAt(0))).buffer;

await check('KWin script on Plasma 6', () => {
    const windowActivated = signal();
    const calls = runKWinScript({windowActivated, activeWindow: {desktopFileName: 'org.kde.dolphin', resourceClass: 'dolphin', pid: 41}});
    windowActivated.fire({desktopFileName: 'org.kde.konsole', resourceClass: 'konsole', pid: 42});
    windowActivated.fire(null);
    windowActivated.fire({desktopFileName: '', resourceClass: '', resourceName: 'steam', pid: -1});
    assert.deepEqual(calls, [[...target, 'org.kde.dolphin', 'dolphin', 41], [...target, 'org.kde.konsole', 'konsole', 42],
                             [...target, '', 'steam', 0]]);
});

await check('KWin script on Plasma 5.27', () => {
    const clientActivated = signal();
    const calls = runKWinScript({clientActivated, activeClient: null});
    // X11 windows' classes come as byte arrays there.
    clientActivated.fire({desktopFileName: 'org.kde.kate', resourceClass: bytes('kate'), pid: 7});
    assert.deepEqual(calls, [[...target, 'org.kde.kate', 'kate', 7]]);
});

// What GNOME Shell gives an extension: a display whose focus changes, windows, the bus.
function gnomeShell() {
    const calls = [];
    const handlers = new Map();
    let nextId = 1;
    const display = {
        focus_window: null,
        connect(name, handler) { handlers.set(nextId, {name, handler}); return nextId++; },
        disconnect(id) { handlers.delete(id); },
        focus(window) {
            this.focus_window = window;
            for (const {name, handler} of handlers.values())
                if (name === 'notify::focus-window')
                    handler();
        },
    };
    const Gio = {
        DBusCallFlags: {NO_AUTO_START: 1},
        DBus: {session: {call: (...args) => calls.push(args)}},
    };
    const GLib = {Variant: class { constructor(type, value) { this.type = type; this.value = value; } }};
    const Shell = {WindowTracker: {get_default: () => ({get_window_app: window => window.app})}};
    return {calls, display, handlers, Gio, GLib, Shell};
}

const gnomeWindow = (desktopId, gtkId, wmClass, pid) => ({
    app: desktopId === null ? null : {get_id: () => desktopId},
    get_gtk_application_id: () => gtkId, get_wm_class: () => wmClass, get_pid: () => pid,
});

async function checkExtension(name, extension, shell) {
    await check(name, () => {
        shell.display.focus_window = gnomeWindow('org.gnome.Nautilus.desktop', null, 'org.gnome.Nautilus', 12);
        extension.enable();
        shell.display.focus(gnomeWindow('window:3', 'org.gnome.TextEditor', 'gnome-text-editor', 13));
        shell.display.focus(null);
        shell.display.focus(gnomeWindow(null, null, null, -1));
        extension.disable();
        shell.display.focus(gnomeWindow('org.gnome.Terminal.desktop', null, 'gnome-terminal', 14));
        assert.equal(shell.handlers.size, 0, 'disable() leaves a handler connected');
        const told = shell.calls.map(([service, path, iface, method, parameters, replyType, flags]) => {
            assert.deepEqual([service, path, iface, method, replyType, flags], [...target, null, shell.Gio.DBusCallFlags.NO_AUTO_START]);
            assert.equal(parameters.type, '(ssu)');
            return [...parameters.value];  // an array of the extension's own realm
        });
        assert.deepEqual(told, [['org.gnome.Nautilus', 'org.gnome.Nautilus', 12], ['org.gnome.TextEditor', 'gnome-text-editor', 13],
                                ['', '', 0]]);
        // The answer's error (W3 Config not running) is taken, not thrown into GNOME Shell.
        const callback = shell.calls[0][9];
        callback({call_finish() { throw new Error('ServiceUnknown'); }}, null);
    });
}

{
    const shell = gnomeShell();
    const context = {imports: {gi: {Gio: shell.Gio, GLib: shell.GLib, Shell: shell.Shell}}, global: {display: shell.display}};
    vm.runInNewContext(`${readFileSync(join(helpers, 'gnome-shell', '43', 'extension.js'), 'utf8')}\nthis.made = init();`, context);
    await checkExtension('GNOME Shell extension for 43 and 44', context.made, shell);
}

{
    const shell = gnomeShell();
    const context = vm.createContext({global: {display: shell.display}});
    const synthetic = (names, values) => new vm.SyntheticModule(names, function () {
        names.forEach(name => this.setExport(name, values[name]));
    }, {context});
    const modules = {
        'gi://Gio': synthetic(['default'], {default: shell.Gio}),
        'gi://GLib': synthetic(['default'], {default: shell.GLib}),
        'gi://Shell': synthetic(['default'], {default: shell.Shell}),
        'resource:///org/gnome/shell/extensions/extension.js': synthetic(['Extension'], {Extension: class {}}),
    };
    const code = new vm.SourceTextModule(readFileSync(join(helpers, 'gnome-shell', '45', 'extension.js'), 'utf8'), {context});
    await code.link(specifier => {
        if (!(specifier in modules))
            throw new Error(`imports ${specifier}, which GNOME Shell does not offer`);
        return modules[specifier];
    });
    await code.evaluate();
    await checkExtension('GNOME Shell extension for 45 and later', new code.namespace.default(), shell);
}

if (failures.length > 0) {
    console.log(failures.map(failure => `FAIL: ${failure}`).join('\n'));
    process.exit(1);
}
console.log('the KWin script and both GNOME Shell extension variants call the program as they should');

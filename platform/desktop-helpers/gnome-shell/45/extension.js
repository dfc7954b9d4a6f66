// GNOME Shell 45 and later: tells W3 Config which application came to the front, so that the
// mouse can switch to the profile linked to it. The call is made without starting the program
// and without waiting; when W3 Config is not running it fails quietly.
import Gio from 'gi://Gio';
import GLib from 'gi://GLib';
import Shell from 'gi://Shell';
import {Extension} from 'resource:///org/gnome/shell/extensions/extension.js';

const SERVICE = 'org.w3config.W3Config1';
const OBJECT_PATH = '/org/w3config/W3Config1/ActiveApplication';
const INTERFACE = 'org.w3config.ActiveApplication1';

// The desktop file id of the window's application ("org.gnome.Terminal"), else its GTK
// application id.
function applicationIdOf(window) {
    const app = Shell.WindowTracker.get_default().get_window_app(window);
    const desktopId = app ? app.get_id() : null;
    if (desktopId && !desktopId.startsWith('window:'))
        return desktopId.replace(/\.desktop$/, '');
    return window.get_gtk_application_id() ?? '';
}

function reportActivated(window) {
    if (!window)
        return;
    const pid = window.get_pid();
    const parameters = new GLib.Variant('(ssu)',
        [applicationIdOf(window), window.get_wm_class() ?? '', pid > 0 ? pid : 0]);
    Gio.DBus.session.call(SERVICE, OBJECT_PATH, INTERFACE, 'Activated', parameters, null,
        Gio.DBusCallFlags.NO_AUTO_START, -1, null, (connection, result) => {
            try {
                connection.call_finish(result);
            } catch (error) {
                // W3 Config is not running: nothing to tell.
            }
        });
}

export default class W3ConfigFocusExtension extends Extension {
    enable() {
        this._focusHandler = global.display.connect('notify::focus-window',
            () => reportActivated(global.display.focus_window));
        reportActivated(global.display.focus_window);
    }

    disable() {
        global.display.disconnect(this._focusHandler);
        this._focusHandler = 0;
    }
}

// KWin script of W3 Config: tells the program which application came to the front, so that
// the mouse can switch to the profile linked to it. W3 Config loads this script when it starts
// on Plasma and unloads it when it ends; nothing else is changed in KWin.
//
// Plasma 6 names the signal windowActivated and the property activeWindow; Plasma 5.27 names
// them clientActivated and activeClient. The window's properties (desktopFileName,
// resourceClass, resourceName, pid) have the same names in both.

var service = "org.w3config.W3Config1";
var objectPath = "/org/w3config/W3Config1/ActiveApplication";
var interfaceName = "org.w3config.ActiveApplication1";

// Plasma 5.27 hands byte arrays (resourceClass of X11 windows) to scripts as ArrayBuffer.
function text(value) {
    if (typeof value === "string")
        return value;
    if (value instanceof ArrayBuffer)
        return String.fromCharCode.apply(null, new Uint8Array(value));
    return value === undefined || value === null ? "" : String(value);
}

function reportActivated(window) {
    if (!window)
        return;
    // A whole number reaches the bus as a signed integer; 0 says the process is unknown.
    var pid = window.pid > 0 ? window.pid : 0;
    callDBus(service, objectPath, interfaceName, "Activated",
             text(window.desktopFileName), text(window.resourceClass) || text(window.resourceName), pid);
}

if (workspace.windowActivated !== undefined) {
    workspace.windowActivated.connect(reportActivated);
    reportActivated(workspace.activeWindow);
} else {
    workspace.clientActivated.connect(reportActivated);
    reportActivated(workspace.activeClient);
}

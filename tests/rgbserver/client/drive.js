// Drives W3 Config's OpenRGB SDK server as OpenRGB's own clients do, through the independent
// openrgb-sdk package, and prints what it saw as one JSON line.
//   node drive.js PORT PROTOCOL ACTION
// PROTOCOL: the version to ask for ("newest" for the package's own); ACTION: "list", "mode"
// (Spotlight with speed 6, brightness 5, yellow and cyan) or "leds" (the LED blue).
const { Client } = require("openrgb-sdk")

async function main () {
	const [port, protocol, action] = process.argv.slice(2)
	const settings = protocol === "newest" ? {} : { forceProtocolVersion: Number(protocol) }
	const client = new Client("w3-test", Number(port), "127.0.0.1", settings)
	await client.connect(5000)
	const devices = await client.getAllControllerData()
	if (action === "mode") {
		await client.updateMode(0, { id: 9, speed: 6, brightness: 5,
			colors: [{ red: 255, green: 255, blue: 0 }, { red: 0, green: 255, blue: 255 }] })
	} else if (action === "leds") {
		client.updateLeds(0, [{ red: 0, green: 0, blue: 255 }])
	}
	// A round trip after the writes: the server has read them when this answers.
	const after = await client.getControllerData(0)
	console.log(JSON.stringify({
		protocol: client.protocolVersion,
		devices: devices.map(d => ({ name: d.name, type: d.type, vendor: d.vendor, version: d.version,
			description: d.description, activeMode: d.activeMode,
			modes: d.modes.map(m => ({ name: m.name, flags: m.flagList, colors: m.colors.length })),
			zones: d.zones.map(z => z.name), leds: d.leds.map(l => l.name), colors: d.colors })),
		after: { activeMode: after.activeMode, colors: after.colors }
	}))
	client.disconnect()
}

main().catch(error => { console.error(String(error)); process.exit(1) })

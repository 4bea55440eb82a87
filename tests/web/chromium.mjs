// How the page's tests and benchmark start Chromium: Debian's own build
// (no browser download), WebGL 2 on SwiftShader since there is no GPU, and
// nothing that reaches for the network.
export const chromiumPath = process.env.MAZE_CHROMIUM || '/usr/bin/chromium';

export const chromiumArgs = [
  '--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
  '--no-first-run', '--disable-quic', '--disable-extensions', '--mute-audio',
];

// Playwright's launch options for that browser, with extra flags.
export function launchOptions(extraArgs = []) {
  return {executablePath: chromiumPath, args: [...chromiumArgs, ...extraArgs]};
}

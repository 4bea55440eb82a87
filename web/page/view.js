// The view's size: the canvas shows at whatever size the layout gives it
// (square, or the screen in fullscreen), and its drawing buffer follows that
// size times the device's pixel ratio, so the picture is sharp but never
// more than kMaxPixelRatio squared times the displayed pixels.
export const kMaxPixelRatio = 2;

// The drawing buffer's size for a displayed size in CSS pixels.
export function bufferSize(cssWidth, cssHeight, ratio = window.devicePixelRatio || 1) {
  const r = Math.min(ratio, kMaxPixelRatio);
  return {width: Math.max(1, Math.round(cssWidth * r)), height: Math.max(1, Math.round(cssHeight * r))};
}

// Keeps the canvas's drawing buffer in step with its displayed size, calling
// onResize(width, height) after each change (and once at the start).
export function fitCanvas(canvas, onResize) {
  const fit = () => {
    const box = canvas.getBoundingClientRect();
    if (box.width === 0 || box.height === 0)
      return;
    const {width, height} = bufferSize(box.width, box.height);
    if (canvas.width !== width || canvas.height !== height) {
      canvas.width = width;
      canvas.height = height;
    }
    onResize(width, height);
  };
  new ResizeObserver(fit).observe(canvas);
  // A new pixel ratio (a zoom, another screen) changes no CSS size.
  const watchRatio = () => {
    matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`).addEventListener('change', () => {
      fit();
      watchRatio();
    }, {once: true});
  };
  watchRatio();
  fit();
}

// The "Fullscreen" button: the view fills the screen, with the screen's aspect.
export function installFullscreen(button, stage) {
  if (!stage.requestFullscreen) {
    button.hidden = true;
    return;
  }
  button.addEventListener('click', () => {
    if (document.fullscreenElement)
      document.exitFullscreen();
    else
      stage.requestFullscreen().catch(() => {});
  });
  document.addEventListener('fullscreenchange', () => {
    button.textContent = document.fullscreenElement ? 'Exit fullscreen' : 'Fullscreen';
  });
}

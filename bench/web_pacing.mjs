// The pacing of the web benchmark's reference pages, as the maze page paces
// its frames: once per animation frame, a new frame only once the GPU has
// finished the one before (the desktop's buffer swap waits the same way).
// Calls draw() for each frame drawn.
export function runPaced(gl, draw) {
  let lastFrame = null;
  const frame = () => {
    requestAnimationFrame(frame);
    if (lastFrame) {
      if (gl.clientWaitSync(lastFrame, 0, 0) === gl.TIMEOUT_EXPIRED)
        return;
      gl.deleteSync(lastFrame);
    }
    draw();
    lastFrame = gl.fenceSync(gl.SYNC_GPU_COMMANDS_COMPLETE, 0);
  };
  requestAnimationFrame(frame);
}

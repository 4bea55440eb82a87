// "Show the way": the walker walks itself to the nearest exit, one motion at
// a time, as the program finds and gives the keys; any key or control stops it.

// Installs the button's behaviour. Services: program() (null until the page
// plays), notice(text, topic) and endNotice(topic): the way's notice lasts
// while the way is shown. The program says when the way starts (and how long
// it is), finds no exit, or ends.
export function installWay({program, button, notice, endNotice}) {
  let showing = false;  // asked for and not ended

  const ended = () => {
    showing = false;
    button.setAttribute('aria-pressed', 'false');
  };

  // Stops a way being shown, and says so.
  function stop() {
    if (!showing)
      return;
    program().stopWay();
    ended();
    notice('The way is no longer shown.');
  }

  // Asked for once: a click while the way starts or is shown does nothing
  // more (any key or other control stops it).
  button.addEventListener('click', () => {
    if (!program() || showing)
      return;
    showing = true;
    button.setAttribute('aria-pressed', 'true');
    program().showWay();  // from where the walker stands once its motion has ended
  });
  // Any key or control stops it, before the key or control does anything else.
  document.addEventListener('keydown', (event) => {
    if (!(event.target.closest && event.target.closest('[data-own-keys]')))  // the maze editor's keys
      stop();
  }, true);
  document.addEventListener('pointerdown', (event) => {
    if (!(event.target.closest && event.target.closest(`#${button.id}`)))
      stop();
  }, true);

  // What the program tells of the way.
  return {
    listen(p) {
      p.on('waystart', (keys) => {
        if (keys === 0)
          ended();
        notice(`Showing the way: ${keys} key press${keys === 1 ? '' : 'es'} to the exit. Any key stops it.`, 'way');
      });
      p.on('waynone', () => {
        ended();
        notice('No exit can be reached from here.');
      });
      p.on('wayend', () => {
        ended();
        endNotice('way');
      });
    },
  };
}

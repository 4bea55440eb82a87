// The findings list: what `mazetool check` says of the maze just opened, in
// its words. A playable maze gets one line (its findings folded under it);
// an unplayable one stands out, the findings that stop it first. A new
// report changes only the lines that differ from the last, so a long list
// costs little when one finding changes.

// Fills `box` from the program's report: {playable, blocking, summary,
// findings}. With `pick`, a finding i for which pick(i) gives a function is
// a button that calls it; with `open`, a playable maze's findings show
// unfolded; with `quiet`, a playable maze without findings leaves the box
// hidden, as there is nothing to say of it.
export function showFindings(box, report, {pick = null, open = false, quiet = false} = {}) {
  box.classList.toggle('unplayable', !report.playable);
  box.hidden = quiet && report.playable && report.findings.length === 0;
  const shape = box.hidden ? 'none' : !report.playable ? 'unplayable' : report.findings.length ? 'folded' : 'clean';
  if (box.dataset.shape !== shape)
    lay(box, shape, open);
  if (shape === 'none')
    return;
  setText(box.querySelector('.head'), report.summary);
  const list = box.querySelector('ul');
  if (list)
    fillList(list, report, pick);
}

// The parts a report of `shape` is shown in: a head line (.head) and, but
// for a clean maze, a list.
function lay(box, shape, open) {
  box.dataset.shape = shape;
  box.replaceChildren();
  if (shape === 'none')
    return;
  const list = document.createElement('ul');
  if (shape === 'folded') {
    const details = document.createElement('details');
    details.open = open;
    const summary = document.createElement('summary');
    summary.className = 'head';
    details.append(summary, list);
    box.append(details);
    return;
  }
  const head = document.createElement('p');
  head.className = shape === 'unplayable' ? 'head title' : 'head';
  box.append(head);
  if (shape === 'unplayable')
    box.append(list);
}

// Sets a node's text where it differs from what was set last (kept on the
// node, so that nothing is read back from the document).
function setText(node, text) {
  if (node.shownText !== text) {
    node.textContent = text;
    node.shownText = text;
  }
}

// One item per finding, each changed only where it differs.
function fillList(list, report, pick) {
  const items = list.children;
  report.findings.forEach((text, i) => {
    let item = items[i];
    if (!item) {
      item = document.createElement('li');
      list.append(item);
    }
    const onPick = pick && pick(i);
    let button = item.firstElementChild;
    if (onPick && !button) {
      button = document.createElement('button');
      button.type = 'button';
      button.className = 'finding';
      item.replaceChildren(button);
      item.shownText = undefined;
    } else if (!onPick && button) {
      button.remove();
      button = null;
    }
    setText(button || item, text);
    if (button)
      button.onclick = onPick;
    item.classList.toggle('blocking', i < report.blocking);
  });
  while (items.length > report.findings.length)
    list.lastElementChild.remove();
}

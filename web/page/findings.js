// The findings list: what `mazetool check` says of the maze just opened, in
// its words. A playable maze gets one line (its findings folded under it);
// an unplayable one stands out, the findings that stop it first.

// Fills `box` from the program's report: {playable, blocking, summary,
// findings}. With `pick`, a finding i for which pick(i) gives a function is
// a button that calls it; with `open`, a playable maze's findings show unfolded.
export function showFindings(box, report, {pick = null, open = false} = {}) {
  box.replaceChildren();
  box.classList.toggle('unplayable', !report.playable);
  const list = document.createElement('ul');
  report.findings.forEach((text, i) => {
    const item = document.createElement('li');
    const onPick = pick && pick(i);
    if (onPick) {
      const button = document.createElement('button');
      button.type = 'button';
      button.className = 'finding';
      button.textContent = text;
      button.addEventListener('click', onPick);
      item.append(button);
    } else {
      item.textContent = text;
    }
    if (i < report.blocking)
      item.className = 'blocking';
    list.append(item);
  });
  if (report.playable) {
    if (report.findings.length === 0) {
      const line = document.createElement('p');
      line.textContent = report.summary;
      box.append(line);
      return;
    }
    const details = document.createElement('details');
    details.open = open;
    const summary = document.createElement('summary');
    summary.textContent = report.summary;
    details.append(summary, list);
    box.append(details);
    return;
  }
  const title = document.createElement('p');
  title.className = 'title';
  title.textContent = report.summary;
  box.append(title, list);
}

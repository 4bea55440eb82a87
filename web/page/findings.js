// The findings list: what `mazetool check` says of the maze just opened, in
// its words. A playable maze gets one line (its findings folded under it);
// an unplayable one stands out, the findings that stop it first.

// Fills `box` from the program's report: {playable, blocking, summary, findings}.
export function showFindings(box, report) {
  box.replaceChildren();
  box.classList.toggle('unplayable', !report.playable);
  const list = document.createElement('ul');
  report.findings.forEach((text, i) => {
    const item = document.createElement('li');
    item.textContent = text;
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

// Which of the page's layouts is in force, as page.css decides it (the
// breakpoints are written there only): "wide" (the view beside the side
// panel), "column" (everything in one column under the view) or "phone"
// (a narrow column, where the editor takes the view's place).
export function layout() {
  return getComputedStyle(document.documentElement).getPropertyValue('--layout').trim() || 'wide';
}

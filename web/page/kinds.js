// The cell kinds as the page shows them, from the program's table ({kinds:
// [{name, byte, open, drawn, slot}], ofByte}): each kind's class, named
// after it ("kind-wall-r"), and its colour, its texture's mean colour.

// The class of a kind: "kind-" and its name, spaces as dashes.
export const kindClass = (kind) => `kind-${kind.name.replace(/\s+/g, '-')}`;

// Gives every drawn kind's class its texture's mean colour (`colours`, by
// texture slot) as --kind, which page.css paints the editor's cells and
// swatches with.
export function installKindColours(kinds, colours) {
  const style = document.createElement('style');
  style.textContent = kinds.kinds.filter((kind) => kind.drawn && colours[kind.slot])
    .map((kind) => `.${kindClass(kind)} { --kind: ${colours[kind.slot]}; }`).join('\n');
  document.head.append(style);
}

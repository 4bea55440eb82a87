// How the walk is shown, as the player sets it: the exits' floors marked (on
// at first) and the motion, "Smooth" (a step or turn slides and turns over
// its motion frames) or "Instant" (its end picture at once), which follows
// the system's prefers-reduced-motion until the player picks one. Both are
// remembered.
import {loadSetting, saveSetting, settingButton} from './settings.js';

const kMotions = ['smooth', 'instant'];

// Installs the "Mark exits" button and the "Motion" select. Returns
// {attach(program), instant()}: the program gets the settings once it plays
// and each change after; instant() says whether motion is instant now.
export function installOptions({exitsButton, motionSelect}) {
  let program = null;
  const exits = settingButton(exitsButton, 'exits', true, (on) => program && program.setShowExits(on));

  const reduce = matchMedia('(prefers-reduced-motion: reduce)');
  const systemMotion = () => (reduce.matches ? 'instant' : 'smooth');
  const chosen = loadSetting('motion', null);
  let motion = kMotions.includes(chosen) ? chosen : null;  // null: the system's
  const current = () => motion || systemMotion();
  const apply = () => {
    motionSelect.value = current();
    if (program)
      program.setInstantMotion(current() === 'instant');
  };
  motionSelect.addEventListener('change', () => {
    motion = motionSelect.value;
    saveSetting('motion', motion);
    apply();
  });
  reduce.addEventListener('change', apply);
  apply();

  return {
    attach(p) {
      program = p;
      p.setShowExits(exits());
      apply();
    },
    instant: () => current() === 'instant',
  };
}

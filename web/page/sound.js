// The walk's sounds, made here with Web Audio: a footfall when a step lands,
// a knock when a wall blocks one, a swish when a turn begins and a chime at
// the exit. Browsers let a page sound only after the player's first key or
// touch, so the audio starts then. The "Sound" button turns them on and
// off, remembered. While the way is shown faster than a player could walk
// (instant motion), nothing plays.
import {settingButton} from './settings.js';

const kIdle = 4;
const kSteps = [0, 3];  // forward, back
const kTurns = [1, 2];  // left, right

// Installs the "Sound" button and the first key or touch's start of the
// audio. instant() says whether motion is instant. Returns {listen(program)}.
export function installSound({button, instant}) {
  let context = null;
  let noise = null;     // a second of white noise, the swish's and footfall's grain
  let wayShown = false; // the way is being shown

  let on = null;        // whether Sound is on, once the button is set up
  on = settingButton(button, 'sound', true, (value) => {
    if (value)
      wake();
  });

  // Makes or resumes the audio context; only within a key or touch.
  function wake() {
    if (!on || !on())
      return;
    try {
      if (!context) {
        context = new AudioContext();
        noise = context.createBuffer(1, context.sampleRate, context.sampleRate);
        const samples = noise.getChannelData(0);
        for (let i = 0; i < samples.length; ++i)
          samples[i] = Math.random() * 2 - 1;
      }
      if (context.state === 'suspended')
        context.resume().catch(() => {});
    } catch (e) {
      context = null;  // no Web Audio: the walk goes on silent
    }
  }
  document.addEventListener('keydown', wake, true);
  document.addEventListener('pointerdown', wake, true);

  // A gain that rises to `peak` in 5 ms and falls away over `length` s, from `at`.
  function envelope(at, peak, length) {
    const gain = context.createGain();
    gain.gain.setValueAtTime(0.0001, at);
    gain.gain.exponentialRampToValueAtTime(peak, at + 0.005);
    gain.gain.exponentialRampToValueAtTime(0.0001, at + length);
    gain.connect(context.destination);
    return gain;
  }

  // A tone of `type` gliding from `from` to `to` Hz over `length` s.
  function tone(at, type, from, to, peak, length) {
    const oscillator = context.createOscillator();
    oscillator.type = type;
    oscillator.frequency.setValueAtTime(from, at);
    oscillator.frequency.exponentialRampToValueAtTime(to, at + length);
    oscillator.connect(envelope(at, peak, length));
    oscillator.start(at);
    oscillator.stop(at + length + 0.02);
  }

  // Noise through a filter of `kind` whose frequency goes from `from` to `to` Hz.
  function hiss(at, kind, from, to, peak, length) {
    const source = context.createBufferSource();
    source.buffer = noise;
    const filter = context.createBiquadFilter();
    filter.type = kind;
    filter.frequency.setValueAtTime(from, at);
    filter.frequency.exponentialRampToValueAtTime(to, at + length);
    source.connect(filter).connect(envelope(at, peak, length));
    source.start(at);
    source.stop(at + length + 0.02);
  }

  const sounds = {
    step(at) {
      tone(at, 'sine', 120, 55, 0.5, 0.12);
      hiss(at, 'lowpass', 900, 300, 0.25, 0.08);
    },
    blocked(at) {
      tone(at, 'triangle', 160, 90, 0.6, 0.16);
      tone(at + 0.06, 'triangle', 130, 80, 0.35, 0.12);
    },
    turn(at) {
      hiss(at, 'bandpass', 700, 2200, 0.18, 0.16);
    },
    exit(at) {
      [523.25, 659.25, 783.99, 1046.5].forEach((f, i) => tone(at + i * 0.11, 'sine', f, f, 0.3, 0.5));
    },
  };

  function play(name) {
    if (!on() || !context || context.state === 'closed' || (wayShown && instant()))
      return;
    try {
      sounds[name](context.currentTime);
    } catch (e) {
      // A sound that cannot be made is left out.
    }
  }

  return {
    listen(p) {
      let last = null;  // the walker as last told
      p.on('walker', (w) => {
        if (last) {
          const moved = w.column !== last.column || w.row !== last.row;
          if (kSteps.includes(last.movement) && moved)
            play('step');
          else if (kSteps.includes(last.movement) && w.movement === kIdle)
            play('blocked');
          if (kTurns.includes(w.movement) && (w.movement !== last.movement || w.heading !== last.heading))
            play('turn');
        }
        last = w;
      });
      p.on('exit', () => play('exit'));
      p.on('waystart', (keys) => {
        wayShown = keys > 0;
      });
      // After whatever the program tells with the way's end: the step onto
      // the exit, and the exit, of a way shown at once stay silent too.
      for (const end of ['waynone', 'wayend'])
        p.on(end, () => queueMicrotask(() => {
          wayShown = false;
        }));
    },
  };
}

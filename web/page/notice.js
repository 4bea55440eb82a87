// The line under the view: what the page has to say now. A notice about
// something that ends (the way being shown, a link just copied) is said with
// that topic and goes when it ends, unless something else was said since.

// Returns {say(text, topic), end(topic)} over the element `line`.
export function installNotice(line) {
  let topic = null;  // what the notice shown is about, when it is about something that ends
  return {
    say(text, about = null) {
      line.textContent = text;
      topic = about;
    },
    end(about) {
      if (about !== null && topic === about) {
        line.textContent = '';
        topic = null;
      }
    },
  };
}

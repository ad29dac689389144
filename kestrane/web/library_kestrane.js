// The page's side of the browser platform layer (Emscripten --js-library):
// messages on the page, downloads, the music the page decoded, and the sound
// output. The page (prod/web/index.html) provides Module.onMessage and
// decodes the audio files while it loads (Module.decodedAudio below).

mergeInto(LibraryManager.library, {
  $kestraneAudio: {
    nodes: [null],  // by handle; 0 is never a handle
  },

  kestrane_page_message: function (title, text, fatal) {
    var t = UTF8ToString(title), x = UTF8ToString(text);
    if (Module['onMessage']) Module['onMessage'](t, x, !!fatal);
  },

  kestrane_offer_download__deps: ['$FS'],
  kestrane_offer_download: function (path) {
    var p = UTF8ToString(path);
    var bytes = FS.readFile(p);
    var name = p.split('/').pop();
    var type = /\.png$/i.test(name) ? 'image/png' : 'application/octet-stream';
    var url = URL.createObjectURL(new Blob([bytes], {type: type}));
    var link = document.createElement('a');
    link.href = url;
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(function () { URL.revokeObjectURL(url); }, 60000);
  },

  // Module.decodedAudio[absolute path] is {rate, left, right} (Float32Arrays)
  // or {error: text}, filled by the page before main runs.
  $kestraneDecoded__deps: ['$FS', '$PATH'],
  $kestraneDecoded: function (path) {
    var p = UTF8ToString(path);
    var absolute = PATH.normalize(p.charAt(0) === '/' ? p : FS.cwd() + '/' + p);
    var table = Module['decodedAudio'] || {};
    if (table[absolute]) return table[absolute];
    try {
      FS.stat(absolute);
    } catch (e) {
      return {error: 'No such file or directory'};
    }
    return {error: 'the page did not decode it (not an audio file it looked for)'};
  },

  kestrane_decoded_frames__deps: ['$kestraneDecoded'],
  kestrane_decoded_frames: function (path, rate, reason, reasonBytes) {
    var d = kestraneDecoded(path);
    var why = d.error;
    if (!why && d.rate !== rate) why = 'decoded at ' + d.rate + ' Hz, not ' + rate;
    if (!why && d.left.length === 0) why = 'no audio frames in it';
    if (why) {
      stringToUTF8(why, reason, reasonBytes);
      return 0;
    }
    return d.left.length;
  },

  kestrane_copy_decoded__deps: ['$kestraneDecoded'],
  kestrane_copy_decoded: function (path, out, frames) {
    var d = kestraneDecoded(path);
    var pcm = HEAP16.subarray(out >> 1, (out >> 1) + 2 * frames);
    for (var i = 0; i < frames; ++i) {
      var l = Math.max(-1, Math.min(1, d.left[i])), r = Math.max(-1, Math.min(1, d.right[i]));
      pcm[2 * i] = Math.round(l * 32767);
      pcm[2 * i + 1] = Math.round(r * 32767);
    }
  },

  // One ScriptProcessor node pulling blocks of 16-bit stereo from fill(user,
  // block, bytes). The page creates Module.audioContext on the click that
  // starts the show, as browsers require for sound.
  kestrane_audio_open__deps: ['$kestraneAudio', 'malloc'],
  kestrane_audio_open: function (rate, frames, fill, user) {
    var Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) return 0;
    var context = Module['audioContext'];
    if (!context || context.sampleRate !== rate) {
      try {
        context = Module['audioContext'] = new Context({sampleRate: rate});
      } catch (e) {
        return 0;
      }
    }
    var node = context.createScriptProcessor(frames, 0, 2);
    var bytes = frames * 4;
    var block = _malloc(bytes);
    node.onaudioprocess = function (event) {
      {{{ makeDynCall('viii', 'fill') }}}(user, block, bytes);
      var pcm = HEAP16.subarray(block >> 1, (block >> 1) + 2 * frames);
      var left = event.outputBuffer.getChannelData(0), right = event.outputBuffer.getChannelData(1);
      for (var i = 0; i < frames; ++i) {
        left[i] = pcm[2 * i] / 32768;
        right[i] = pcm[2 * i + 1] / 32768;
      }
    };
    return kestraneAudio.nodes.push({context: context, node: node, block: block}) - 1;
  },

  kestrane_audio_resume__deps: ['$kestraneAudio'],
  kestrane_audio_resume: function (handle) {
    var a = kestraneAudio.nodes[handle];
    if (!a) return;
    a.node.connect(a.context.destination);
    if (a.context.state !== 'running') a.context.resume();
  },

  kestrane_audio_close__deps: ['$kestraneAudio', 'free'],
  kestrane_audio_close: function (handle) {
    var a = kestraneAudio.nodes[handle];
    if (!a) return;
    a.node.onaudioprocess = null;
    a.node.disconnect();
    _free(a.block);
    kestraneAudio.nodes[handle] = null;
  },
});

// The piece: A minor, 163 beats per minute, written as sections of
// sixteen-beat phrases that begin 12 beats past a multiple of 16, so every
// change of the music falls on a scene boundary of the show.
#include "Score.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <stdexcept>
#include <string_view>

namespace Forge {

namespace {

struct Chord {
    int bass;               // bass root, kept between A2 and G#3
    std::vector<int> pad;   // pad voicing around middle C
    std::vector<int> arp;   // arpeggio tones, octave 5
};

const std::map<std::string, Chord>& chords() {
    static const std::map<std::string, Chord> table{
        {"Am", {45, {57, 60, 64, 69}, {69, 72, 76, 81}}},
        {"F", {53, {57, 60, 65, 69}, {65, 69, 72, 77}}},
        {"C", {48, {55, 60, 64, 67}, {67, 72, 76, 79}}},
        {"G", {55, {55, 59, 62, 67}, {67, 71, 74, 79}}},
        {"Dm", {50, {57, 62, 65, 69}, {62, 65, 69, 74}}},
        {"E", {52, {56, 59, 64, 68}, {64, 68, 71, 76}}},
        {"Em", {52, {55, 59, 64, 67}, {64, 67, 71, 76}}},
        {"Fmaj7", {53, {53, 57, 60, 64}, {65, 69, 72, 76}}},
        {"Em7", {52, {52, 55, 59, 62}, {64, 67, 71, 74}}},
        {"Dm7", {50, {53, 57, 60, 62}, {62, 65, 69, 72}}},
        {"Am9", {45, {57, 60, 64, 71}, {69, 71, 72, 76}}},
    };
    return table;
}

const Chord& chord(const std::string& name) {
    const auto it = chords().find(name);
    if (it == chords().end()) throw std::logic_error("score: unknown chord " + name);
    return it->second;
}

// Melodies in eighth notes: a note name ("A4", "G#4", "C6"), "-" to hold the
// previous note, "." for a rest, "|" between bars (ignored).
struct MelodyNote {
    double offset;  // beats from the phrase start
    double length;
    int note;
};

int parseNoteName(std::string_view token) {
    static const std::map<char, int> base{{'C', 0}, {'D', 2}, {'E', 4}, {'F', 5}, {'G', 7}, {'A', 9}, {'B', 11}};
    const auto it = base.find(token.at(0));
    if (it == base.end()) throw std::logic_error("score: bad note " + std::string(token));
    int semitone = it->second;
    std::size_t i = 1;
    if (i < token.size() && token[i] == '#') {
        ++semitone;
        ++i;
    }
    if (i >= token.size() || !std::isdigit(static_cast<unsigned char>(token[i])))
        throw std::logic_error("score: bad note " + std::string(token));
    return (token[i] - '0' + 1) * 12 + semitone;
}

std::vector<MelodyNote> parseMelody(std::string_view text) {
    std::vector<MelodyNote> notes;
    double position = 0.0;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ') ++i;
        std::size_t j = i;
        while (j < text.size() && text[j] != ' ') ++j;
        const std::string_view token = text.substr(i, j - i);
        i = j;
        if (token.empty() || token == "|") continue;
        if (token == "-") {
            if (!notes.empty()) notes.back().length += 0.5;
        } else if (token != ".") {
            notes.push_back({position, 0.5, parseNoteName(token)});
        }
        position += 0.5;
    }
    return notes;
}

// Sixteen-beat melodies, two halves each.
constexpr std::string_view ThemeA = "A4 - C5 - E5 - D5 C5 | A4 - - - F4 - G4 A4 | G4 - E4 - C5 - B4 G4 | D5 - - - B4 - . .";
constexpr std::string_view ThemeB = "A4 - C5 - E5 - G5 E5 | F5 - E5 - C5 - A4 C5 | E5 - D5 - C5 - G4 - | B4 - D5 - G5 - - .";
constexpr std::string_view CounterA = "D5 - F5 - A5 - F5 D5 | E5 - - - C5 - A4 - | F5 - E5 - D5 - C5 A4 | G#4 - B4 - E5 - - .";
constexpr std::string_view CounterB = "A5 - G5 F5 E5 - D5 - | C5 - E5 - A5 - - - | A5 - C6 - A5 - F5 - | E5 - D5 - B4 - G#4 .";
constexpr std::string_view UpliftA = "E5 - G5 - C6 - B5 G5 | D5 - - - B4 - D5 - | C5 - E5 - A5 - G5 E5 | F5 - - - E5 - C5 .";
constexpr std::string_view UpliftB = "G5 - - - E5 - G5 - | B5 - A5 - G5 - D5 - | E5 - - - C5 - E5 A5 | A5 - G5 - F5 - E5 .";
constexpr std::string_view CodaA = "A5 - - - G5 - E5 - | G5 - - - - - D5 - | F5 - E5 - D5 - C5 - | E5 - - - - - - .";
constexpr std::string_view CodaB = "C6 - - - A5 - G5 - | B5 - - - G5 - E5 - | A5 - - - F5 - E5 - | B4 - - - C5 - E5 .";

enum class Kick { None, Bar, Four, Half };
enum class BassLine { None, Offbeat, Rolling, Long };
enum class Hats { None, Soft, Offbeat, Busy, Ride };
enum class Arp { None, Eighths, Sixteenths, Bells };

struct Style {
    const char* name;
    double start, end;
    std::vector<std::string> progression;  // one chord per bar, repeating
    Kick kick;
    BassLine bass;
    Hats hats;
    bool clap;
    Arp arp;
    std::string_view melodyA, melodyB;  // empty: no lead
    int melodyTranspose;
    float padGain, padBright, bassBright, arpBright, leadBright;
    bool stabs = false;  // offbeat chord stabs an octave above the pads
};

class Composer {
public:
    Score score;

    void section(const Style& s) {
        score.sections.push_back({s.start, s.name});
        for (double bar = s.start; bar < s.end; bar += 4.0) {
            const int index = static_cast<int>((bar - s.start) / 4.0) % static_cast<int>(s.progression.size());
            const Chord& c = chord(s.progression[static_cast<std::size_t>(index)]);
            const double barEnd = std::min(bar + 4.0, s.end);
            pads(bar, barEnd - bar, c, s);
            for (double beat = bar; beat < barEnd; beat += 1.0) {
                drums(beat, bar, s);
                bass(beat, c, s);
                arp(beat, c, s);
                if (s.stabs) stab(beat, c);
            }
        }
        if (!s.melodyA.empty()) {
            bool first = true;
            for (double phrase = s.start; phrase + 16.0 <= s.end; phrase += 16.0, first = !first)
                melody(phrase, first ? s.melodyA : s.melodyB, s);
        }
    }

    void pads(double bar, double length, const Chord& c, const Style& s) {
        if (s.padGain > 0.0f) score.pads.push_back({bar, length, c.pad, s.padGain, s.padBright});
    }

    void drums(double beat, double bar, const Style& s) {
        const int inBar = static_cast<int>(beat - bar);
        switch (s.kick) {
            case Kick::None: break;
            case Kick::Bar:
                if (inBar == 0) score.kicks.push_back({beat, 1.0f});
                break;
            case Kick::Four: score.kicks.push_back({beat, 1.0f}); break;
            case Kick::Half:
                if (inBar == 0 || inBar == 2) score.kicks.push_back({beat, 1.0f});
                break;
        }
        if (s.clap && (inBar == 1 || inBar == 3)) {
            score.claps.push_back({beat, 0.42f});
            score.snares.push_back({beat, 0.22f});
        }
        switch (s.hats) {
            case Hats::None: break;
            case Hats::Soft: score.closedHats.push_back({beat + 0.5, 0.16f}); break;
            case Hats::Offbeat:
                score.openHats.push_back({beat + 0.5, 0.2f});
                score.closedHats.push_back({beat, 0.1f});
                break;
            case Hats::Busy:
            case Hats::Ride:
                score.openHats.push_back({beat + 0.5, 0.2f});
                score.closedHats.push_back({beat + 0.25, 0.13f});
                score.closedHats.push_back({beat + 0.75, 0.1f});
                score.closedHats.push_back({beat, 0.08f});
                if (s.hats == Hats::Ride) score.rides.push_back({beat, 0.12f});
                break;
        }
    }

    void bass(double beat, const Chord& c, const Style& s) {
        const float b = s.bassBright;
        switch (s.bass) {
            case BassLine::None: break;
            case BassLine::Offbeat: score.bass.push_back({beat + 0.5, 0.4, double(c.bass), 0.5f, b}); break;
            case BassLine::Rolling:
                for (double step : {0.25, 0.5, 0.75})
                    score.bass.push_back({beat + step, 0.2, double(c.bass + (step == 0.5 ? 12 : 0)), 0.45f, b});
                break;
            case BassLine::Long: score.bass.push_back({beat + 0.5, 0.45, double(c.bass), 0.45f, b}); break;
        }
    }

    void arp(double beat, const Chord& c, const Style& s) {
        const auto beatIndex = static_cast<int>(beat);
        switch (s.arp) {
            case Arp::None: break;
            case Arp::Eighths:
                for (int k = 0; k < 2; ++k) {
                    const int n = c.arp[static_cast<std::size_t>((beatIndex * 2 + k) % 4)];
                    score.plucks.push_back({beat + 0.5 * k, 0.45, double(n), 0.22f, s.arpBright, k ? 0.35f : -0.35f});
                }
                break;
            case Arp::Sixteenths: {
                static constexpr int Order[8] = {0, 1, 2, 3, 2, 1, 2, 3};
                for (int k = 0; k < 4; ++k) {
                    const int step = (beatIndex * 4 + k) % 8;
                    const int n = c.arp[static_cast<std::size_t>(Order[step])] + (step >= 6 ? 12 : 0);
                    score.plucks.push_back(
                        {beat + 0.25 * k, 0.22, double(n), 0.17f, s.arpBright, (k % 2) ? 0.45f : -0.45f});
                }
                break;
            }
            case Arp::Bells:
                if (beatIndex % 2 == 0) {
                    const int n = c.arp[static_cast<std::size_t>((beatIndex / 2) % 4)];
                    score.bells.push_back({beat, 1.5, double(n), 0.1f, s.arpBright, (beatIndex % 4) ? 0.5f : -0.5f});
                }
                break;
        }
    }

    void stab(double beat, const Chord& c) {
        float pan = -0.4f;
        for (int n : c.pad) {
            score.plucks.push_back({beat + 0.5, 0.2, double(n + 12), 0.085f, 0.95f, pan});
            pan += 0.8f / static_cast<float>(c.pad.size() - 1);
        }
    }

    void melody(double phrase, std::string_view text, const Style& s) {
        for (const MelodyNote& m : parseMelody(text))
            score.leads.push_back({phrase + m.offset, m.length - 0.05, double(m.note + s.melodyTranspose), 0.3f,
                                   s.leadBright});
    }

    // Removes the events of the given lists in [from, to).
    template <typename T>
    static void clear(std::vector<T>& events, double from, double to) {
        std::erase_if(events, [&](const T& e) { return e.beat >= from && e.beat < to; });
    }

    void snareRoll(double from, double to, double step, float g0, float g1) {
        for (double b = from; b < to - 1e-9; b += step) {
            const float x = static_cast<float>((b - from) / (to - from));
            score.snares.push_back({b, g0 + (g1 - g0) * x});
        }
    }
};

template <typename T>
void sortByBeat(std::vector<T>& v) {
    std::stable_sort(v.begin(), v.end(), [](const T& a, const T& b) { return a.beat < b.beat; });
}

}  // namespace

Score composeScore() {
    Composer c;
    const std::vector<std::string> main{"Am", "F", "C", "G"};
    const std::vector<std::string> minor{"Dm", "Am", "F", "E"};
    const std::vector<std::string> deep{"Am", "Em", "F", "E"};
    const std::vector<std::string> lift{"C", "G", "Am", "F"};
    const std::vector<std::string> coda{"Fmaj7", "Em7", "Dm7", "Am9"};

    // name, start, end, progression, kick, bass, hats, clap, arp, melody A/B,
    // transpose, pad gain, pad / bass / arp / lead brightness.
    c.section({"intro", 0, 12, {"Am", "F", "G"}, Kick::Bar, BassLine::None, Hats::None, false, Arp::Bells, {}, {}, 0,
               0.55f, 0.25f, 0, 0.5f, 0});
    c.section({"shiny", 12, 44, main, Kick::Four, BassLine::Offbeat, Hats::Offbeat, false, Arp::Bells, {}, {}, 0,
               0.5f, 0.3f, 0.3f, 0.35f, 0});
    c.section({"horizon", 44, 76, main, Kick::Four, BassLine::Offbeat, Hats::Offbeat, true, Arp::Eighths, ThemeA,
               ThemeB, 0, 0.45f, 0.4f, 0.4f, 0.45f, 0.45f});
    c.section({"flowerball", 76, 140, main, Kick::Four, BassLine::Rolling, Hats::Ride, true, Arp::Sixteenths, ThemeA,
               ThemeB, 12, 0.55f, 0.85f, 0.6f, 0.75f, 0.8f, true});
    c.section({"pils", 140, 204, minor, Kick::Four, BassLine::Offbeat, Hats::Soft, false, Arp::Sixteenths, CounterA,
               CounterB, 0, 0.45f, 0.3f, 0.4f, 0.85f, 0.5f});
    c.section({"dragonfly", 204, 268, main, Kick::Four, BassLine::Rolling, Hats::Busy, true, Arp::Eighths, ThemeB,
               ThemeA, 12, 0.55f, 0.85f, 0.7f, 0.5f, 0.6f});
    c.section({"underwater", 268, 332, deep, Kick::Four, BassLine::Long, Hats::Soft, false, Arp::Bells, {}, {}, 0,
               0.6f, 0.15f, 0.15f, 0.3f, 0});
    c.section({"balloon", 332, 396, lift, Kick::Four, BassLine::Offbeat, Hats::Offbeat, true, Arp::Eighths,
               UpliftA, UpliftB, 0, 0.5f, 0.5f, 0.5f, 0.5f, 0.6f});
    c.section({"takeoff", 396, 460, main, Kick::Four, BassLine::Rolling, Hats::Ride, true, Arp::Sixteenths, ThemeA,
               ThemeB, 12, 0.55f, 0.95f, 0.8f, 0.85f, 0.85f, true});
    c.section({"credits", 460, 556, coda, Kick::Half, BassLine::Long, Hats::Soft, false, Arp::None, CodaA, CodaB, 12,
               0.55f, 0.3f, 0.2f, 0.3f, 0.2f});
    Score& s = c.score;
    s.sections.push_back({556, "end"});

    // Intro: a riser into the first scene and a snare roll on its last beats.
    s.risers.push_back({4, 8, 0.2f});
    c.snareRoll(8, 12, 0.25, 0.05f, 0.3f);
    // The credits: bells instead of a lead, drums thin out and stop.
    for (ScoreNote& n : s.leads)
        if (n.beat >= 460) {
            s.bells.push_back({n.beat, n.length, n.note, 0.2f, 0.4f, 0.0f});
            n.gain = 0.0f;
        }
    std::erase_if(s.leads, [](const ScoreNote& n) { return n.gain == 0.0f; });
    Composer::clear(s.kicks, 492, 600);
    Composer::clear(s.closedHats, 508, 600);
    Composer::clear(s.bass, 524, 600);
    s.fadeStartBeat = 492;
    s.fadeEndBeat = 552;
    s.fadeFloor = 0.08f;
    s.bells.push_back({552, 6, 69, 0.35f, 0.3f, -0.3f});
    s.bells.push_back({552, 6, 76, 0.25f, 0.3f, 0.3f});
    s.pads.push_back({552, 4, {57, 60, 64, 71}, 0.5f, 0.25f});
    s.endBeat = 562;

    // Breaks: drums and bass stop, a riser and a snare roll lead into the
    // next section. Horizon and Balloon (whose scenes do not follow the kick)
    // break down for their last sixteen beats, so the next scene starts on a
    // drop; Flowerball's scene stops following the kick for its last four.
    auto breakDown = [&](double from, double to, double riserBeats, double rollBeats) {
        for (auto* events : {&s.kicks, &s.claps, &s.snares, &s.openHats, &s.closedHats, &s.rides})
            Composer::clear(*events, from, to);
        Composer::clear(s.bass, from, to);
        s.risers.push_back({to - riserBeats, riserBeats, 0.22f});
        c.snareRoll(to - rollBeats, to, 0.25, 0.1f, 0.4f);
    };
    breakDown(60, 76, 8, 4);
    breakDown(136, 140, 8, 4);
    breakDown(380, 396, 8, 4);

    // Crashes on the scene boundaries, accents on every sixteen beats of the
    // dragonfly scene (which flashes there).
    for (double b : {12.0, 44.0, 76.0, 140.0, 268.0, 332.0, 396.0, 460.0}) s.crashes.push_back({b, 0.32f});
    for (double b = 204; b < 268; b += 16) {
        s.accentBeats.push_back(b);
        s.crashes.push_back({b, 0.42f});
        s.impacts.push_back({b, 6, 0.3f});
        s.pads.push_back({b, 1.0, {57, 64, 69, 72, 76}, 0.5f, 1.0f});
        c.snareRoll(b - 1, b, 0.25, 0.15f, 0.35f);
    }

    // The swarm's take-off: beats 456-460 drop the kick and bass and build
    // with an accelerating roll and a riser.
    for (auto* events : {&s.kicks, &s.claps, &s.snares, &s.openHats, &s.closedHats, &s.rides})
        Composer::clear(*events, 456, 460);
    Composer::clear(s.bass, 456, 460);
    c.snareRoll(456, 458, 0.25, 0.15f, 0.3f);
    c.snareRoll(458, 460, 0.125, 0.3f, 0.5f);
    s.risers.push_back({448, 12, 0.3f});

    // Phrase-end fills: a short snare figure on the last beat of phrases that
    // carry on in the same section.
    for (double b = 28; b < 460; b += 16) {
        const bool boundary = std::find_if(s.sections.begin(), s.sections.end(), [&](const Section& x) {
                                  return x.startBeat == b;
                              }) != s.sections.end();
        if (!boundary && b != 220 && b != 236 && b != 252 && b - 1 > 12)
            for (double f : {0.5, 0.75}) s.snares.push_back({b - 1 + f, 0.2f});
    }

    sortByBeat(s.kicks);
    sortByBeat(s.snares);
    sortByBeat(s.claps);
    sortByBeat(s.closedHats);
    sortByBeat(s.openHats);
    sortByBeat(s.rides);
    sortByBeat(s.crashes);
    sortByBeat(s.bass);
    sortByBeat(s.plucks);
    sortByBeat(s.leads);
    sortByBeat(s.bells);
    sortByBeat(s.pads);
    return s;
}

}  // namespace Forge

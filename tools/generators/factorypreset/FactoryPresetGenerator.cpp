// Builds the factory preset that the librarian installs into an empty preset folder:
// 300 programs of our own design in nine categories, written as a preset file.
//
//   make generate-factorypreset && ./generate-factorypreset resources/embedded/FactoryPreset.topreset
//
// The output is deterministic: the same program gives the same file, byte for byte.
// Every value is set through a setter that knows the parameter's range and refuses
// anything outside it, so a mistake here stops the generator instead of shipping.

#include "data/ProgramData.h"
#include "file/LibraryFiles.h"

#include <cstdio>
#include <cstdlib>
#include <set>
#include <vector>

namespace
{
// Offsets of the program record.
constexpr int CommonStart = 0;
constexpr int TimbreAStart = 16;
constexpr int TimbreBStart = 124;
constexpr int VirtualPatchOffset = 84; // inside a timbre
constexpr int FxStart = 232;
constexpr int VocoderStart = 244;
constexpr int ArpStart = 296;
constexpr int Common2Start = 312;

// Oscillator types.
constexpr int Saw = 1, Pulse = 2, Triangle = 3, Sine = 4, WhiteNoise = 5, PinkNoise = 6, ResNoise = 8, DualSaw = 9,
              DualSquare = 10, UnisonSaw = 13, SyncSaw = 17, SyncSquare = 18, RingSaw = 21, RingSine = 24,
              XModSaw = 25, VpmSine = 32;
constexpr int QxrmFirst = 33; // "Syn Sine 1"; QXRM wave k is type 33 + k
constexpr int APiano = 97, EGrand = 98, TineEP = 99, DynoEP = 100, WurlyEP = 101, Clav1 = 102, Organ1 = 104,
              Organ2 = 105, Z7Organ = 107, VoxOrgan = 108, Marimba = 109, Bell1 = 110, Bell2 = 111, TapeFlute = 112,
              Brass1 = 113, Brass2 = 114, Trumpet = 115, StringsWave = 116, TapeStrings = 117, Choir1 = 118,
              Choir3 = 120, AGuitar = 121, EGuitar = 122, ABass = 123, EBass1 = 124, EBass3 = 126;

enum Category
{
    Synth,
    Lead,
    Bass,
    Brass,
    Strings,
    Piano,
    Key,
    SEVoc,
    User,
    NumCategories
};

struct CategoryLayout
{
    int first;
    int count;
    std::vector<const char*> adjectives;
    std::vector<const char*> nouns;
};

// Programs 0 to 299, category by category. The first program of each of the first eight
// categories is where the default favorite table's category jumps (bank 0) point, and
// its other banks land inside the categories too. Adjectives of up to five letters and
// nouns of up to six keep every name within twelve characters.
const CategoryLayout layout[NumCategories] = {
    { 0, 35, { "Glass", "Warm", "Wide", "Soft", "Dark", "Lush", "Pure", "Vast", "Silk", "Hazy", "Nova", "Deep" },
      { "Pad", "Poly", "Sweep", "Wash", "Bloom", "Drift", "Haze", "Cloud" } },
    { 35, 32, { "Hot", "Sharp", "Sync", "Brite", "Fat", "Thin", "Wild", "Acid", "Retro", "Mono" },
      { "Lead", "Line", "Square", "Saw", "Buzz", "Solo", "Pipe" } },
    { 67, 28, { "Sub", "Punch", "Round", "Fat", "Acid", "Pluck", "Dark", "Tight", "Deep", "Funk" },
      { "Bass", "Low", "Thump", "Growl", "Bottom", "Root" } },
    { 95, 13, { "Brass", "Horn", "Power", "Soft", "Bold" }, { "Stab", "Sect", "Swell", "Fall", "Blast" } },
    { 108, 28, { "Lush", "Slow", "Tape", "Silky", "Wide", "Warm" }, { "Str", "Violin", "Cello", "Choir", "Orch", "Bows" } },
    { 136, 15, { "Grand", "Upri", "Brite", "Soft", "Stage", "Dark" }, { "Piano", "Keys", "Hammer", "Felt" } },
    { 151, 25, { "Tine", "Dyno", "Wurly", "Clav", "Organ", "Vox", "Z7", "Bell", "Malet", "Drawb" },
      { "EP", "Keys", "Perc", "Combo" } },
    { 176, 24, { "Noise", "Robot", "Laser", "Wind", "Space", "Alien", "Rain", "Vocdr", "Zap", "Radio" },
      { "FX", "Voice", "Storm", "Siren", "Talk" } },
    { 200, 100, { "Arp", "Seq", "Pulse", "Step", "Gate", "Loop", "Tick", "Run", "Echo", "Spin", "Rise", "Chase" },
      { "Motion", "Groove", "Cycle", "Ripple", "Trail", "Drive", "Bounce", "Flow", "Stream", "Chain" } },
};

[[noreturn]] void refuse (const char* what, int programNumber, int value)
{
    std::fprintf (stderr, "generate-factorypreset: %s value %d out of range in program %d\n", what, value, programNumber);
    std::exit (1);
}

// One program under construction. Every setter checks the parameter's range.
class ProgramBuilder
{
public:
    explicit ProgramBuilder (int number) : programNumber (number) { raw = x38200_data::InitProgramData; }

    void byte (const char* what, int offset, int value, int minimum, int maximum)
    {
        if (value < minimum || value > maximum)
            refuse (what, programNumber, value);
        raw.bytes[offset] = (std::uint8_t) (value & 0xFF);
    }

    void word (const char* what, int offset, int value, int minimum, int maximum)
    {
        if (value < minimum || value > maximum)
            refuse (what, programNumber, value);
        raw.bytes[offset] = (std::uint8_t) (value & 0xFF);
        raw.bytes[offset + 1] = (std::uint8_t) ((value >> 8) & 0xFF);
    }

    void unipolar (const char* what, int offset, int value) { byte (what, offset, value, 0, 127); }
    void bipolar (const char* what, int offset, int value) { byte (what, offset, value, -63, 63); }

    void name (const juce::String& text)
    {
        const auto padded = text.paddedRight (' ', 12);
        if (padded.length() != 12)
            refuse ("name length", programNumber, padded.length());
        for (int i = 0; i < 12; ++i)
            byte ("name character", CommonStart + i, (int) padded[i], 32, 125);
    }

    ::ProgramData raw;
    const int programNumber;
};

// The allowed range of an oscillator's Control1 (index 0) or Control2 (index 1);
// {0, 0} for a control that the type does not have.
std::pair<int, int> controlRange (int type, int control)
{
    if (type >= 1 && type <= 32)
    {
        if (type <= 4)
            return control == 0 ? std::pair { 0, 127 } : std::pair { 0, 0 };
        if (type <= 8)
            return { 0, 127 };
        if (type <= 12)
            return control == 0 ? std::pair { -63, 63 } : std::pair { 0, 0 };
        if (type <= 20)
            return control == 0 ? std::pair { 0, 127 } : std::pair { 0, 0 };
        if (type <= 24)
            return control == 0 ? std::pair { -63, 63 } : std::pair { 0, 0 };
        if (type <= 28)
            return control == 0 ? std::pair { 0, 127 } : std::pair { -63, 63 };
        return control == 0 ? std::pair { 0, 127 } : std::pair { 0, 32 };
    }
    if (type >= 33 && type <= 96)
        return { 0, 127 };
    if (type == 127)
        return control == 0 ? std::pair { -63, 63 } : std::pair { 0, 0 };
    return { 0, 0 };
}

struct Oscillator
{
    int type = 0;
    int semitone = 0;
    int tune = 0;
    int control1 = 0;
    int control2 = 0;
    int level = 0;
};

struct Envelope
{
    int attack, decay, sustain, release;
};

// The sound of one timbre.
struct TimbreSound
{
    int voiceAssign = 2; // Poly
    int unison = 0;
    int unisonDetune = 10;
    int unisonSpread = 64;
    int transpose = 0;
    int detune = 0;
    int vibrato = 0;
    int bendRange = 2;
    bool portamento = false;
    int portamentoTime = 0;
    int analogTuning = 5;
    Oscillator osc[3];
    int filterType = 0;
    int cutoff = 100;
    int resonance = 0;
    int eg1Int = 0;
    int filterLfo = 0;
    int keyTrack = 0;
    int velocity = 0;
    int level = 100;
    int pan = 64;
    int punch = 0;
    Envelope filterEg { 0, 64, 64, 20 };
    Envelope ampEg { 0, 64, 127, 20 };
    int lfo1Wave = 2, lfo1Freq = 60, lfo2Wave = 2, lfo2Freq = 70;
    struct Patch
    {
        int source, destination, intensity;
    } patches[6] = { { 0, 0, 0 }, { 0, 0, 0 }, { 0, 0, 0 }, { 0, 0, 0 }, { 0, 0, 0 }, { 0, 0, 0 } };
};

void writeTimbre (ProgramBuilder& p, int start, const TimbreSound& t)
{
    p.byte ("voice assign", start + 0, t.voiceAssign, 0, 2);
    p.byte ("unison", start + 1, t.unison, 0, 3);
    p.byte ("unison detune", start + 2, t.unisonDetune, 0, 99);
    p.unipolar ("unison spread", start + 3, t.unisonSpread);
    p.byte ("transpose", start + 4, t.transpose, -48, 48);
    p.byte ("detune", start + 5, t.detune, -50, 50);
    p.bipolar ("vibrato", start + 6, t.vibrato);
    p.byte ("bend range", start + 8, t.bendRange, -12, 12);
    p.byte ("portamento", start + 9, t.portamento ? 1 : 0, 0, 1);
    p.unipolar ("portamento time", start + 10, t.portamentoTime);
    p.unipolar ("analog tuning", start + 11, t.analogTuning);

    const int typeOffsets[3] = { 12, 20, 28 };
    for (int i = 0; i < 3; ++i)
    {
        const auto& o = t.osc[i];
        const auto base = start + typeOffsets[i];
        p.unipolar ("oscillator type", base, o.type);
        p.byte ("semitone", base + 1, o.semitone, -24, 24);
        p.bipolar ("tune", base + 2, o.tune);
        const auto r1 = controlRange (o.type, 0);
        const auto r2 = controlRange (o.type, 1);
        p.byte ("control 1", base + 3, juce::jlimit (r1.first, r1.second, o.control1), r1.first, r1.second);
        p.byte ("control 2", base + 4, juce::jlimit (r2.first, r2.second, o.control2), r2.first, r2.second);
        p.unipolar ("oscillator level", start + 36 + i, o.type == 0 ? 0 : o.level);
    }

    p.byte ("filter type", start + 39, t.filterType, 0, 17);
    p.unipolar ("cutoff", start + 40, t.cutoff);
    p.unipolar ("resonance", start + 41, t.resonance);
    p.bipolar ("EG1 intensity", start + 42, t.eg1Int);
    p.bipolar ("filter LFO", start + 43, t.filterLfo);
    p.bipolar ("filter key track", start + 45, t.keyTrack);
    p.bipolar ("velocity", start + 46, t.velocity);
    p.unipolar ("level", start + 47, t.level);
    p.unipolar ("pan", start + 48, t.pan);
    p.unipolar ("punch", start + 49, t.punch);

    const Envelope* envelopes[2] = { &t.filterEg, &t.ampEg };
    for (int e = 0; e < 2; ++e)
    {
        const auto base = start + (e == 0 ? 52 : 60);
        p.unipolar ("attack", base + 0, envelopes[e]->attack);
        p.unipolar ("decay", base + 1, envelopes[e]->decay);
        p.unipolar ("sustain", base + 2, envelopes[e]->sustain);
        p.unipolar ("release", base + 3, envelopes[e]->release);
    }

    p.byte ("LFO1 wave", start + 68, t.lfo1Wave, 0, 4);
    p.unipolar ("LFO1 frequency", start + 69, t.lfo1Freq);
    p.byte ("LFO2 wave", start + 76, t.lfo2Wave, 0, 4);
    p.unipolar ("LFO2 frequency", start + 77, t.lfo2Freq);

    for (int i = 0; i < 6; ++i)
    {
        const auto base = start + VirtualPatchOffset + 4 * i;
        p.byte ("patch source", base + 0, t.patches[i].source, 0, 11);
        p.byte ("patch destination", base + 1, t.patches[i].destination, 0, 41);
        p.bipolar ("patch intensity", base + 2, t.patches[i].intensity);
    }
}

struct Effects
{
    int preType = 0, preSwitch = 0, drive = 0;
    int modType = 1, modSwitch = 0, modDepth = 40, modSpeed = 30;
    int delayType = 0, delaySwitch = 0, delayDepth = 40, delayTime = 60;
};

void writeEffects (ProgramBuilder& p, const Effects& f)
{
    p.byte ("pre effect type", FxStart + 0, f.preType, 0, 5);
    p.byte ("pre effect switch", FxStart + 1, f.preSwitch, 0, 3);
    p.unipolar ("drive", FxStart + 2, f.drive);
    p.byte ("mod effect type", FxStart + 3, f.modType, 0, 5);
    p.byte ("mod effect switch", FxStart + 4, f.modSwitch, 0, 3);
    p.unipolar ("mod depth", FxStart + 5, f.modDepth);
    p.unipolar ("mod speed", FxStart + 6, f.modSpeed);
    p.byte ("delay type", FxStart + 7, f.delayType, 0, 5);
    p.byte ("delay switch", FxStart + 8, f.delaySwitch, 0, 3);
    p.unipolar ("delay depth", FxStart + 9, f.delayDepth);
    p.unipolar ("delay time", FxStart + 10, f.delayTime);
}

struct Arpeggio
{
    bool on = false;
    int tempo = 120, type = 0, resolution = 2, gate = 50, swing = 0, lastStep = 8, octaves = 1, steps = 0xFF;
    bool latch = false;
};

void writeArpeggio (ProgramBuilder& p, const Arpeggio& a)
{
    p.word ("tempo", ArpStart + 0, a.tempo, 20, 300);
    p.byte ("arpeggiator switch", ArpStart + 2, a.on ? 1 : 0, 0, 1);
    p.byte ("latch", ArpStart + 3, a.latch ? 1 : 0, 0, 1);
    p.byte ("arpeggiator key sync", ArpStart + 4, 1, 0, 1);
    p.byte ("arpeggiator type", ArpStart + 6, a.type, 0, 5);
    p.byte ("resolution", ArpStart + 7, a.resolution, 0, 8);
    p.byte ("gate", ArpStart + 8, a.gate, 0, 100);
    p.byte ("swing", ArpStart + 9, a.swing, -100, 100);
    p.byte ("last step", ArpStart + 10, a.lastStep, 1, 8);
    p.byte ("octave range", ArpStart + 11, a.octaves, 1, 4);
    p.byte ("steps", ArpStart + 12, a.steps, 0, 255);
}

// A value around a centre, spread by the program's own random source.
int around (juce::Random& random, int centre, int spread, int minimum, int maximum)
{
    return juce::jlimit (minimum, maximum, centre - spread + random.nextInt (2 * spread + 1));
}

int pick (juce::Random& random, std::initializer_list<int> values)
{
    return *(values.begin() + random.nextInt ((int) values.size()));
}

//==============================================================================
struct Sound
{
    int category = Synth;
    int voiceMode = 0;
    int timbreBChannel = 0;
    int splitKey = 60;
    int keyResponse = 0;
    TimbreSound a, b;
    Effects fx;
    Arpeggio arp;
    bool vocoder = false;
};

Sound designSynth (juce::Random& r, int i)
{
    Sound s;
    auto& t = s.a;
    t.osc[0] = { pick (r, { Saw, DualSaw, UnisonSaw, Pulse, QxrmFirst + 9 + r.nextInt (7) }), 0, around (r, 0, 6, -63, 63), r.nextInt (64), r.nextInt (64), 110 };
    t.osc[1] = { pick (r, { Saw, Triangle, Pulse, QxrmFirst + r.nextInt (9) }), pick (r, { 0, 12, -12, 7 }), around (r, 8, 6, -63, 63), r.nextInt (64), r.nextInt (64), around (r, 80, 20, 0, 127) };
    if (i % 3 == 0)
        t.osc[2] = { pick (r, { Sine, Triangle, PinkNoise }), -12, 0, r.nextInt (64), 0, around (r, 40, 20, 0, 127) };
    t.filterType = pick (r, { 0, 1, 2, 4 });
    t.cutoff = around (r, 70, 25, 0, 127);
    t.resonance = around (r, 25, 20, 0, 127);
    t.eg1Int = around (r, 20, 15, -63, 63);
    t.filterEg = { around (r, 60, 40, 0, 127), around (r, 80, 30, 0, 127), around (r, 70, 30, 0, 127), around (r, 70, 30, 0, 127) };
    t.ampEg = { around (r, 55, 45, 0, 127), around (r, 80, 30, 0, 127), around (r, 110, 15, 0, 127), around (r, 75, 30, 0, 127) };
    t.unison = i % 4 == 1 ? 2 : 0;
    t.filterLfo = around (r, 8, 8, -63, 63);
    t.lfo1Freq = around (r, 30, 20, 0, 127);
    t.patches[0] = { 2, 15, around (r, 10, 8, -63, 63) };
    s.fx = { 0, 0, 0, pick (r, { 0, 1, 4 }), 1, around (r, 60, 30, 0, 127), around (r, 25, 20, 0, 127), pick (r, { 0, 2 }), 1, around (r, 60, 30, 0, 127), around (r, 80, 30, 0, 127) };
    if (i % 5 == 2)
    {
        s.voiceMode = 1; // a second, brighter layer
        s.b = s.a;
        s.b.osc[0] = { pick (r, { Sine, Triangle, QxrmFirst + r.nextInt (9) }), 12, 0, r.nextInt (64), r.nextInt (64), 90 };
        s.b.level = 80;
        s.fx.modSwitch = s.fx.delaySwitch = 3;
    }
    return s;
}

Sound designLead (juce::Random& r, int i)
{
    Sound s;
    s.category = Lead;
    auto& t = s.a;
    t.voiceAssign = pick (r, { 0, 1 });
    t.portamento = i % 2 == 0;
    t.portamentoTime = around (r, 30, 25, 0, 127);
    t.bendRange = pick (r, { 2, 7, 12 });
    t.osc[0] = { pick (r, { Saw, SyncSaw, SyncSquare, DualSquare, RingSaw, XModSaw, VpmSine }), 0, 0, r.nextInt (64), r.nextInt (33), 120 };
    t.osc[1] = { pick (r, { Saw, Pulse, Triangle }), pick (r, { 0, 7, 12, 19 }), around (r, 5, 5, -63, 63), r.nextInt (64), 0, around (r, 70, 30, 0, 127) };
    t.filterType = pick (r, { 0, 3, 5, 6 });
    t.cutoff = around (r, 85, 25, 0, 127);
    t.resonance = around (r, 35, 30, 0, 127);
    t.eg1Int = around (r, 25, 20, -63, 63);
    t.filterEg = { around (r, 5, 5, 0, 127), around (r, 60, 30, 0, 127), around (r, 60, 30, 0, 127), around (r, 40, 20, 0, 127) };
    t.ampEg = { around (r, 3, 3, 0, 127), around (r, 60, 30, 0, 127), around (r, 115, 12, 0, 127), around (r, 35, 20, 0, 127) };
    t.vibrato = around (r, 6, 6, -63, 63);
    t.lfo2Freq = around (r, 75, 10, 0, 127);
    t.patches[0] = { 6, 1, around (r, 20, 10, -63, 63) };
    t.patches[1] = { 4, 15, around (r, 15, 10, -63, 63) };
    s.fx = { pick (r, { 0, 4 }), i % 3 == 0 ? 1 : 0, around (r, 40, 30, 0, 127), pick (r, { 1, 4 }), 1, around (r, 40, 20, 0, 127), around (r, 30, 20, 0, 127), pick (r, { 3, 4, 5 }), 1, around (r, 50, 20, 0, 127), around (r, 60, 40, 0, 127) };
    return s;
}

Sound designBass (juce::Random& r, int i)
{
    Sound s;
    s.category = Bass;
    auto& t = s.a;
    t.voiceAssign = pick (r, { 0, 1, 2 });
    t.transpose = -12;
    t.osc[0] = { pick (r, { Saw, Pulse, Sine, DualSaw, EBass1, EBass3, ABass, QxrmFirst + 55 + r.nextInt (3) }), 0, 0, r.nextInt (64), r.nextInt (64), 120 };
    t.osc[1] = { pick (r, { Sine, Pulse, Triangle }), -12, 0, r.nextInt (64), 0, around (r, 80, 30, 0, 127) };
    t.filterType = pick (r, { 0, 1, 2, 6 });
    t.cutoff = around (r, 45, 25, 0, 127);
    t.resonance = around (r, 30, 30, 0, 127);
    t.eg1Int = around (r, 35, 20, -63, 63);
    t.punch = around (r, 40, 40, 0, 127);
    t.filterEg = { 0, around (r, 45, 25, 0, 127), around (r, 30, 25, 0, 127), around (r, 20, 15, 0, 127) };
    t.ampEg = { 0, around (r, 70, 30, 0, 127), around (r, 100, 27, 0, 127), around (r, 15, 10, 0, 127) };
    t.velocity = around (r, 20, 15, -63, 63);
    if (i % 6 == 5)
        t.filterLfo = around (r, 40, 15, -63, 63); // the wobbling ones
    s.fx = { pick (r, { 0, 4, 5 }), i % 2, around (r, 50, 40, 0, 127), 1, 0, 40, 30, 1, i % 4 == 0 ? 1 : 0, 25, 40 };
    return s;
}

Sound designBrass (juce::Random& r, int)
{
    Sound s;
    s.category = Brass;
    auto& t = s.a;
    t.osc[0] = { pick (r, { Saw, DualSaw, Brass1, Brass2, Trumpet }), 0, 0, r.nextInt (64), r.nextInt (64), 115 };
    t.osc[1] = { Saw, 0, around (r, 7, 5, -63, 63), r.nextInt (64), 0, around (r, 90, 20, 0, 127) };
    t.filterType = pick (r, { 0, 2, 4 });
    t.cutoff = around (r, 60, 20, 0, 127);
    t.resonance = around (r, 10, 10, 0, 127);
    t.eg1Int = around (r, 35, 15, -63, 63);
    t.filterEg = { around (r, 25, 20, 0, 127), around (r, 70, 20, 0, 127), around (r, 70, 20, 0, 127), around (r, 45, 20, 0, 127) };
    t.ampEg = { around (r, 15, 12, 0, 127), around (r, 70, 20, 0, 127), around (r, 110, 15, 0, 127), around (r, 45, 20, 0, 127) };
    t.velocity = around (r, 25, 10, -63, 63);
    s.fx = { 0, 0, 0, 1, 1, around (r, 30, 20, 0, 127), 20, pick (r, { 0, 1, 2 }), 1, around (r, 45, 20, 0, 127), around (r, 70, 25, 0, 127) };
    return s;
}

Sound designStrings (juce::Random& r, int i)
{
    Sound s;
    s.category = Strings;
    auto& t = s.a;
    t.osc[0] = { pick (r, { Saw, UnisonSaw, StringsWave, TapeStrings, Choir1, Choir3 }), 0, 0, r.nextInt (64), r.nextInt (64), 110 };
    t.osc[1] = { pick (r, { Saw, Pulse, StringsWave }), pick (r, { 0, 12 }), around (r, 10, 6, -63, 63), r.nextInt (64), 0, around (r, 80, 20, 0, 127) };
    t.unison = i % 3 == 0 ? pick (r, { 1, 2, 3 }) : 0;
    t.filterType = pick (r, { 0, 1, 4 });
    t.cutoff = around (r, 75, 20, 0, 127);
    t.resonance = around (r, 8, 8, 0, 127);
    t.filterEg = { around (r, 70, 30, 0, 127), 80, 90, 80 };
    t.ampEg = { around (r, 70, 40, 0, 127), around (r, 90, 20, 0, 127), 120, around (r, 85, 25, 0, 127) };
    t.vibrato = around (r, 4, 4, -63, 63);
    t.lfo2Freq = around (r, 65, 10, 0, 127);
    s.fx = { 0, 0, 0, pick (r, { 0, 1 }), 1, around (r, 70, 30, 0, 127), around (r, 20, 15, 0, 127), 0, 1, around (r, 75, 25, 0, 127), around (r, 95, 25, 0, 127) };
    return s;
}

Sound designPiano (juce::Random& r, int i)
{
    Sound s;
    s.category = Piano;
    s.keyResponse = pick (r, { 0, 1, 2 });
    auto& t = s.a;
    t.osc[0] = { pick (r, { APiano, EGrand }), 0, 0, 0, 0, 120 };
    if (i % 4 == 3)
        t.osc[1] = { pick (r, { TineEP, StringsWave, Choir1 }), 0, around (r, 4, 4, -63, 63), 0, 0, around (r, 50, 20, 0, 127) };
    t.filterType = 0;
    t.cutoff = around (r, 105, 20, 0, 127);
    t.keyTrack = around (r, 20, 15, -63, 63);
    t.velocity = around (r, 40, 15, -63, 63);
    t.filterEg = { 0, 80, 60, 60 };
    t.ampEg = { 0, around (r, 95, 25, 0, 127), around (r, 30, 30, 0, 127), around (r, 50, 20, 0, 127) };
    s.fx = { 0, 0, 0, 1, i % 2, 25, 20, pick (r, { 0, 1, 2 }), 1, around (r, 40, 20, 0, 127), around (r, 60, 25, 0, 127) };
    return s;
}

Sound designKey (juce::Random& r, int i)
{
    Sound s;
    s.category = Key;
    auto& t = s.a;
    const int organ = i % 10 >= 4 && i % 10 <= 6;
    t.osc[0] = { organ ? pick (r, { Organ1, Organ2, Z7Organ, VoxOrgan, QxrmFirst + 44 + r.nextInt (7) })
                       : pick (r, { TineEP, DynoEP, WurlyEP, Clav1, Marimba, Bell1, Bell2, QxrmFirst + 40 + r.nextInt (4), QxrmFirst + 58 + r.nextInt (4) }),
                 0, 0, r.nextInt (64), r.nextInt (64), 115 };
    t.filterType = 0;
    t.cutoff = around (r, 95, 25, 0, 127);
    t.velocity = organ ? 0 : around (r, 30, 15, -63, 63);
    t.ampEg = organ ? Envelope { 0, 64, 127, 10 } : Envelope { 0, around (r, 85, 25, 0, 127), around (r, 40, 30, 0, 127), around (r, 40, 20, 0, 127) };
    s.fx = { organ ? 4 : 3, i % 2, around (r, 35, 25, 0, 127), organ ? 5 : pick (r, { 2, 3, 4 }), 1, around (r, 55, 30, 0, 127), around (r, 45, 30, 0, 127), 1, 1, around (r, 40, 20, 0, 127), around (r, 50, 25, 0, 127) };
    return s;
}

Sound designEffect (juce::Random& r, int i)
{
    Sound s;
    s.category = SEVoc;
    auto& t = s.a;
    t.osc[0] = { pick (r, { WhiteNoise, PinkNoise, ResNoise, RingSine, XModSaw, QxrmFirst + 22 + r.nextInt (9), 127 }), pick (r, { 0, 12, -12, 24 }), 0, r.nextInt (64), r.nextInt (64), 110 };
    t.osc[1] = { pick (r, { Sine, Saw, QxrmFirst + 62, QxrmFirst + 63 }), around (r, 0, 12, -24, 24), around (r, 0, 30, -63, 63), r.nextInt (64), 0, around (r, 60, 40, 0, 127) };
    t.filterType = r.nextInt (18);
    t.cutoff = around (r, 64, 50, 0, 127);
    t.resonance = around (r, 60, 50, 0, 127);
    t.eg1Int = around (r, 0, 50, -63, 63);
    t.filterLfo = around (r, 0, 50, -63, 63);
    t.lfo1Wave = r.nextInt (5);
    t.lfo1Freq = r.nextInt (128);
    t.lfo2Wave = r.nextInt (5);
    t.lfo2Freq = r.nextInt (128);
    t.filterEg = { r.nextInt (128), r.nextInt (128), r.nextInt (128), r.nextInt (128) };
    t.ampEg = { r.nextInt (100), r.nextInt (128), r.nextInt (128), around (r, 80, 40, 0, 127) };
    for (int k = 0; k < 3; ++k)
        t.patches[k] = { r.nextInt (12), 1 + r.nextInt (41), around (r, 0, 40, -63, 63) };
    s.fx = { r.nextInt (6), r.nextInt (4), r.nextInt (128), r.nextInt (6), 1, r.nextInt (128), r.nextInt (128), r.nextInt (6), 1, r.nextInt (128), r.nextInt (128) };
    s.vocoder = i % 4 == 3; // every fourth one is a vocoder sound
    return s;
}

Sound designUser (juce::Random& r, int i)
{
    // Arpeggiated and sequenced sounds, built on the other categories' voices.
    auto s = (i % 3 == 0) ? designBass (r, i) : (i % 3 == 1) ? designSynth (r, i) : designLead (r, i);
    s.category = User;
    s.a.ampEg.release = juce::jmin (s.a.ampEg.release, 40);
    s.arp.on = true;
    s.arp.tempo = around (r, 124, 30, 20, 300);
    s.arp.type = r.nextInt (6);
    s.arp.resolution = pick (r, { 2, 3, 4 });
    s.arp.gate = around (r, 55, 30, 0, 100);
    s.arp.swing = around (r, 0, 25, -100, 100);
    s.arp.lastStep = 4 + r.nextInt (5);
    s.arp.octaves = 1 + r.nextInt (3);
    s.arp.steps = 0x80 | r.nextInt (128);
    s.arp.latch = i % 5 == 0;
    return s;
}

void writeSound (ProgramBuilder& p, const Sound& s)
{
    p.byte ("category", CommonStart + 12, s.category, 0, 8);
    p.byte ("voice mode", CommonStart + 13, s.voiceMode, 0, 2);
    p.byte ("timbre B channel", CommonStart + 14, s.timbreBChannel, 0, 16);
    p.unipolar ("split key", CommonStart + 15, s.splitKey);
    p.byte ("keyboard response", Common2Start, s.keyResponse, 0, 2);
    writeTimbre (p, TimbreAStart, s.a);
    writeTimbre (p, TimbreBStart, s.voiceMode == 0 ? TimbreSound() : s.b);
    writeEffects (p, s.fx);
    writeArpeggio (p, s.arp);

    p.byte ("vocoder switch", VocoderStart + 0, s.vocoder ? 1 : 0, 0, 1);
    if (s.vocoder)
    {
        p.unipolar ("vocoder timbre A level", VocoderStart + 1, 127);
        p.unipolar ("vocoder timbre B level", VocoderStart + 2, 0);
        p.byte ("vocoder audio source", VocoderStart + 3, 0, 0, 1);
        p.unipolar ("gate sense", VocoderStart + 4, 100);
        p.unipolar ("threshold", VocoderStart + 5, 20);
        p.unipolar ("HPF level", VocoderStart + 6, 40);
        p.byte ("formant shift", VocoderStart + 8, 2, 0, 4);
        p.unipolar ("vocoder resonance", VocoderStart + 10, 50);
        p.unipolar ("vocoder level", VocoderStart + 48, 110);
        p.unipolar ("direct level", VocoderStart + 49, 0);
        p.unipolar ("wet spread", VocoderStart + 50, 64);
        p.unipolar ("wet level", VocoderStart + 51, 120);
    }
}

x38200_data::ProgramData makeProgram (int number, const juce::String& name)
{
    int category = 0;
    while (category + 1 < NumCategories && number >= layout[category + 1].first)
        ++category;
    const auto indexInCategory = number - layout[category].first;

    juce::Random random (0x7A4E + number * 7919);
    Sound sound;
    switch (category)
    {
        case Synth: sound = designSynth (random, indexInCategory); break;
        case Lead: sound = designLead (random, indexInCategory); break;
        case Bass: sound = designBass (random, indexInCategory); break;
        case Brass: sound = designBrass (random, indexInCategory); break;
        case Strings: sound = designStrings (random, indexInCategory); break;
        case Piano: sound = designPiano (random, indexInCategory); break;
        case Key: sound = designKey (random, indexInCategory); break;
        case SEVoc: sound = designEffect (random, indexInCategory); break;
        default: sound = designUser (random, indexInCategory); break;
    }

    ProgramBuilder builder (number);
    builder.name (name);
    writeSound (builder, sound);

    x38200_data::ProgramData program;
    program.copyFromNativeData (builder.raw);
    return program;
}

// Distinct names: every adjective with every noun of the category, shifted row by row
// so that neighbouring programs differ in both words.
std::vector<juce::String> makeNames()
{
    std::vector<juce::String> names;
    std::set<juce::String> used;
    for (const auto& c : layout)
    {
        const auto numAdjectives = (int) c.adjectives.size();
        const auto numNouns = (int) c.nouns.size();
        int made = 0;
        for (int row = 0; row < numNouns && made < c.count; ++row)
        {
            for (int a = 0; a < numAdjectives && made < c.count; ++a)
            {
                const auto name = juce::String (c.adjectives[(size_t) a]) + " " + c.nouns[(size_t) ((a + row) % numNouns)];
                if (name.length() > 12 || used.count (name.toUpperCase()) != 0)
                    continue;
                used.insert (name.toUpperCase());
                names.push_back (name);
                ++made;
            }
        }
        if (made != c.count)
        {
            std::fprintf (stderr, "generate-factorypreset: not enough distinct names for the category at %d\n", c.first);
            std::exit (1);
        }
    }
    return names;
}

// The default favorite table must point at sensible programs of this preset: each
// category jump at a program of that category.
bool checkDefaultFavorites (const x38200_data::PresetData& preset)
{
    const x38200_data::FavoriteData favorites;
    for (int slot = 0; slot < x38200_data::FavoriteData::NumSlots; ++slot)
    {
        const auto number = favorites.getFavoriteData (0, slot);
        if (number < 0 || number >= 300 || preset.getProgramData (number).rawData.bytes[12] != slot)
            return false;
    }
    return true;
}

} // namespace

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf (stderr, "usage: generate-factorypreset OUTPUT.topreset\n");
        return 2;
    }

    x38200_data::PresetData preset;
    preset.information.dataID = "OMBI-TarnOMBI-Factory-2026-01";
    preset.information.name = "TarnOMBI Factory Preset";
    preset.information.author = "OMBI Sound Design";
    preset.information.copyright = "Copyright 2026 OMBI. Free to use in your music.";
    preset.information.updateDate = "2026-12-01";
    preset.information.prefix = "TOFP";
    preset.information.version = 1;

    const auto names = makeNames();
    std::set<juce::String> digests;
    for (int i = 0; i < x38200_data::PresetData::NumPrograms; ++i)
    {
        preset.getProgramData (i) = makeProgram (i, names[(size_t) i]);
        digests.insert (preset.getProgramData (i).md5);
    }
    if (digests.size() != (size_t) x38200_data::PresetData::NumPrograms)
    {
        std::fprintf (stderr, "generate-factorypreset: programs are not all distinct\n");
        return 1;
    }

    if (! checkDefaultFavorites (preset))
    {
        std::fprintf (stderr, "generate-factorypreset: the category jumps do not point at their categories\n");
        return 1;
    }

    const juce::File output (juce::File::getCurrentWorkingDirectory().getChildFile (juce::String (argv[1])));
    const auto result = x38200_file::PresetFileWriter (preset).writeToFile (output);
    if (result != 0)
    {
        std::fprintf (stderr, "generate-factorypreset: cannot write %s (code %d)\n", argv[1], result);
        return 1;
    }

    std::printf ("wrote %s (%lld bytes)\n", output.getFullPathName().toRawUTF8(), (long long) output.getSize());
    return 0;
}

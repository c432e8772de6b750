#include "cli/Y4mStream.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <sstream>

#include "standin/HostError.h"
#include "cli/TargetSize.h"

namespace {

const char *const kMagic = "YUV4MPEG2";
// A header or frame line longer than this is taken as damage.
constexpr std::size_t kMaxLine = 4096;
// Any side a header may give: the size is held to the largest frame once
// both sides are known.
constexpr int kMaxSide = std::numeric_limits<int32_t>::max();

struct TChromaTag {
    const char *Name;
    TChroma Chroma;
    bool CentredX, CentredY;
};

// Siting: jpeg centres chroma both ways, mpeg2 puts it on the left luma
// column and between lines, paldv on the top left sample; 4:2:2 is sited
// on even columns.
const TChromaTag kChromaTags[] = {
    {"420jpeg", TChroma::C420, true, true},    {"420mpeg2", TChroma::C420, false, true},
    {"420paldv", TChroma::C420, false, false}, {"420", TChroma::C420, true, true},
    {"422", TChroma::C422, false, false},      {"444", TChroma::C444, false, false},
    {"mono", TChroma::Mono, false, false},
};

// "420p10", "444p16", "mono12", "420jpeg", …
bool ReadChroma(const std::string &tag, TY4mFormat &f) {
    for (const TChromaTag &t : kChromaTags) {
        const std::size_t n = std::strlen(t.Name);
        if (tag.compare(0, n, t.Name) != 0) continue;
        std::string depth = tag.substr(n);
        const bool bare = std::strlen(t.Name) == 3 || t.Chroma == TChroma::Mono;
        if (!depth.empty()) {
            if (!bare) return false;
            if (t.Chroma != TChroma::Mono) {
                if (depth[0] != 'p') return false;
                depth.erase(0, 1);
            }
            if (!ParseWhole(depth, 8, 16, f.Depth)) return false;
        }
        f.Chroma = t.Chroma;
        f.CentredX = t.CentredX;
        f.CentredY = t.CentredY;
        return true;
    }
    return false;
}

}  // namespace

int TY4mFormat::ChromaWidth() const {
    return Chroma == TChroma::C444 ? Width : Chroma == TChroma::Mono ? 0 : (Width + 1) / 2;
}

int TY4mFormat::ChromaHeight() const {
    return Chroma == TChroma::C420 ? (Height + 1) / 2 : Chroma == TChroma::Mono ? 0 : Height;
}

std::size_t TY4mFormat::PlaneSamples(int plane) const {
    return plane == 0 ? std::size_t(Width) * Height : std::size_t(ChromaWidth()) * ChromaHeight();
}

std::size_t TY4mFormat::PlaneOffset(int plane) const {
    std::size_t samples = 0;
    for (int p = 0; p < plane; ++p) samples += PlaneSamples(p);
    return samples * SampleBytes();
}

std::size_t TY4mFormat::FrameBytes() const { return PlaneOffset(Planes()); }

const char *const kY4mFrameLine = "FRAME\n";

std::vector<uint16_t> TY4mFrame::Plane(const TY4mFormat &f, int plane) const {
    std::vector<uint16_t> samples(f.PlaneSamples(plane));
    const uint8_t *at = Bytes.data() + f.PlaneOffset(plane);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = f.Depth > 8 ? uint16_t(at[2 * i] | at[2 * i + 1] << 8) : at[i];
    return samples;
}

void TY4mFrame::SetPlane(const TY4mFormat &f, int plane, const std::vector<uint16_t> &samples) {
    Bytes.resize(f.FrameBytes());
    uint8_t *at = Bytes.data() + f.PlaneOffset(plane);
    for (std::size_t i = 0; i < std::min(samples.size(), f.PlaneSamples(plane)); ++i) {
        if (f.Depth <= 8) {
            at[i] = uint8_t(samples[i]);
            continue;
        }
        at[2 * i] = uint8_t(samples[i]);
        at[2 * i + 1] = uint8_t(samples[i] >> 8);
    }
}

std::string TY4mFormat::Header() const {
    std::string line = kMagic;
    for (const std::string &tag : Tags)
        line += " " + (tag[0] == 'W'   ? "W" + std::to_string(Width)
                       : tag[0] == 'H' ? "H" + std::to_string(Height)
                                       : tag);
    return line + "\n";
}

TY4mFormat ParseY4mHeader(const std::string &line, const std::string &name) {
    const auto fail = [&](const std::string &fault) { throw THostError(name + ": " + fault); };
    std::istringstream words(line);
    std::string word;
    if (!(words >> word) || word != kMagic)
        fail("not a YUV4MPEG2 stream (no \"YUV4MPEG2\" header)");
    TY4mFormat f;
    while (words >> word) {
        f.Tags.push_back(word);
        const std::string value = word.substr(1);
        switch (word[0]) {
        case 'W':
            if (!ParseWhole(value, 1, kMaxSide, f.Width))
                fail("bad YUV4MPEG2 header: width \"" + value + "\"");
            break;
        case 'H':
            if (!ParseWhole(value, 1, kMaxSide, f.Height))
                fail("bad YUV4MPEG2 header: height \"" + value + "\"");
            break;
        case 'C':
            if (!ReadChroma(value, f)) fail("unsupported YUV4MPEG2 colour format \"" + word + "\"");
            f.ChromaTag = word;
            break;
        case 'X':
            if (word == "XCOLORRANGE=FULL") f.FullRange = true;
            break;
        case 'F':
        case 'I':
        case 'A': break;
        default: fail("unsupported YUV4MPEG2 tag \"" + word + "\"");
        }
    }
    if (f.Width == 0 || f.Height == 0)
        fail("bad YUV4MPEG2 header: no size (W and H, 1 to " + LargestFrameText() + ")");
    const std::string beyond = LargestFrameFault("the frame size", f.Width, f.Height);
    if (!beyond.empty()) fail(beyond);
    return f;
}

TY4mReader::TY4mReader(std::FILE *file, const std::string &name) : FFile(file), FName(name) {
    FFormat = ParseY4mHeader(ReadLine("header"), name);
}

void TY4mReader::Fail(const std::string &fault) const { throw THostError(FName + ": " + fault); }

std::string TY4mReader::ReadLine(const char *what) {
    std::string line;
    for (int c; (c = std::fgetc(FFile)) != '\n';) {
        if (c == EOF) {
            if (std::ferror(FFile)) Fail("cannot be read");
            if (line.empty()) return line;
            Fail(std::string("truncated ") + what + " line");
        }
        if (line.size() == kMaxLine) Fail(std::string("damaged ") + what + " line (no line end)");
        line += char(c);
    }
    return line + "\n";
}

bool TY4mReader::ReadFrame(TY4mFrame &frame) {
    const std::string line = ReadLine("FRAME");
    if (line.empty()) return false;
    if (line.compare(0, 5, "FRAME") != 0 || (line[5] != ' ' && line[5] != '\n'))
        Fail("damaged stream: frame " + std::to_string(FFrames + 1) + " does not start with FRAME");
    // The buffer grows with the bytes that arrive, so that a short stream
    // whose header claims a huge frame costs no more than it holds; after
    // the first frame it has its size and is only refilled.
    const std::size_t need = FFormat.FrameBytes();
    std::vector<uint8_t> &bytes = frame.Bytes;
    std::size_t got = 0;
    while (got < need) {
        const std::size_t chunk = std::min(need - got, std::max<std::size_t>(got, 1 << 20));
        if (bytes.size() < got + chunk) bytes.resize(got + chunk);
        const std::size_t n = std::fread(bytes.data() + got, 1, chunk, FFile);
        got += n;
        if (n < chunk) break;
    }
    if (got != need)
        Fail("truncated frame " + std::to_string(FFrames + 1) + ": " + std::to_string(got) +
             " of " + std::to_string(need) + " bytes" +
             (FFrames ? " (the frames before it are written)" : ""));
    bytes.resize(need);
    ++FFrames;
    return true;
}

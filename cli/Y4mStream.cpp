#include "cli/Y4mStream.h"

#include <algorithm>
#include <cstring>
#include <sstream>

#include "cli/HostError.h"
#include "cli/TargetSize.h"

namespace {

const char *const kMagic = "YUV4MPEG2";
// A header or frame line longer than this is taken as damage.
constexpr std::size_t kMaxLine = 4096;

struct TChromaTag {
    const char *Name;
    TChroma Chroma;
    bool CentredX, CentredY;
};

// Siting: jpeg centres chroma both ways, mpeg2 puts it on the left luma
// column and between lines, paldv on the top left sample; 4:2:2 is sited
// on even columns.
const TChromaTag kChromaTags[] = {
    {"420jpeg", TChroma::C420, true, true}, {"420mpeg2", TChroma::C420, false, true},
    {"420paldv", TChroma::C420, false, false}, {"420", TChroma::C420, true, true},
    {"422", TChroma::C422, false, false},    {"444", TChroma::C444, false, false},
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

std::size_t TY4mFormat::FrameBytes() const {
    const std::size_t samples = std::size_t(Width) * Height + 2 * std::size_t(ChromaWidth()) * ChromaHeight();
    return samples * (Depth > 8 ? 2 : 1);
}

std::string TY4mFormat::Header() const {
    std::string line = kMagic;
    for (const std::string &tag : Tags)
        line += " " + (tag[0] == 'W' ? "W" + std::to_string(Width) : tag[0] == 'H' ? "H" + std::to_string(Height) : tag);
    return line + "\n";
}

TY4mFormat ParseY4mHeader(const std::string &line, const std::string &name) {
    const auto fail = [&](const std::string &fault) { throw THostError(name + ": " + fault); };
    std::istringstream words(line);
    std::string word;
    if (!(words >> word) || word != kMagic) fail("not a YUV4MPEG2 stream (no \"YUV4MPEG2\" header)");
    TY4mFormat f;
    while (words >> word) {
        f.Tags.push_back(word);
        const std::string value = word.substr(1);
        switch (word[0]) {
        case 'W':
            if (!ParseWhole(value, 1, kMaxFrameWidth, f.Width)) fail("bad YUV4MPEG2 header: width \"" + value + "\"");
            break;
        case 'H':
            if (!ParseWhole(value, 1, kMaxFrameHeight, f.Height)) fail("bad YUV4MPEG2 header: height \"" + value + "\"");
            break;
        case 'C':
            if (!ReadChroma(value, f)) fail("unsupported YUV4MPEG2 colour format \"" + word + "\"");
            f.ChromaTag = word;
            break;
        case 'X':
            if (word == "XCOLORRANGE=FULL") f.FullRange = true;
            break;
        case 'F': case 'I': case 'A':
            break;
        default:
            fail("unsupported YUV4MPEG2 tag \"" + word + "\"");
        }
    }
    if (f.Width == 0 || f.Height == 0)
        fail("bad YUV4MPEG2 header: no size (W and H, 1 to " + std::to_string(kMaxFrameWidth) + "x" +
             std::to_string(kMaxFrameHeight) + ")");
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
    // whose header claims a huge frame costs no more than it holds.
    const std::size_t need = FFormat.FrameBytes();
    std::size_t got = 0;
    while (got < need) {
        const std::size_t chunk = std::min(need - got, std::max<std::size_t>(got, 1 << 20));
        if (FBytes.size() < got + chunk) FBytes.resize(got + chunk);
        const std::size_t n = std::fread(FBytes.data() + got, 1, chunk, FFile);
        got += n;
        if (n < chunk) break;
    }
    if (got != need)
        Fail("truncated frame " + std::to_string(FFrames + 1) + ": " + std::to_string(got) + " of " +
             std::to_string(need) + " bytes" + (FFrames ? " (the frames before it are written)" : ""));
    const bool wide = FFormat.Depth > 8;
    std::size_t at = 0;
    for (int p = 0; p < FFormat.Planes(); ++p) {
        const std::size_t samples = p == 0 ? std::size_t(FFormat.Width) * FFormat.Height
                                           : std::size_t(FFormat.ChromaWidth()) * FFormat.ChromaHeight();
        std::vector<uint16_t> &plane = frame.Planes[p];
        plane.resize(samples);
        for (std::size_t i = 0; i < samples; ++i, at += wide ? 2 : 1)
            plane[i] = wide ? uint16_t(FBytes[at] | FBytes[at + 1] << 8) : FBytes[at];
    }
    ++FFrames;
    return true;
}

std::string EncodeY4mFrame(const TY4mFormat &format, const TY4mFrame &frame) {
    std::string out = "FRAME\n";
    out.reserve(out.size() + format.FrameBytes());
    for (int p = 0; p < format.Planes(); ++p)
        for (const uint16_t v : frame.Planes[p]) {
            out += char(v & 0xff);
            if (format.Depth > 8) out += char(v >> 8);
        }
    return out;
}

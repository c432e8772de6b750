// The comparison job done by zimg: 4:4:4 16-bit full-range YCbCr, BT.601
// matrix, pure gamma 2.2 -> linear RGB float -> resize -> back, on one thread.
// zimg resizes in whatever colour space its graph holds at that point, so the
// job is a chain of graphs that meet in linear RGB; where a graph that also
// converts colour gives the same picture as the plain chain, the shorter
// chain is used (zimg's best).
#pragma once
#include <zimg.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Three planes of one sample type, each line padded to zimg's alignment.
class TPlanes {
public:
    TPlanes(int width, int height, int bytesPerSample);
    TPlanes(const TPlanes &) = delete;
    TPlanes &operator=(const TPlanes &) = delete;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    std::ptrdiff_t Stride() const { return FStride; }  // bytes
    void *Plane(int p) const { return FPlanes[p].get(); }
    uint16_t *Line16(int p, int y) const {
        return reinterpret_cast<uint16_t *>(static_cast<char *>(Plane(p)) + y * FStride);
    }

private:
    struct TFree {
        void operator()(void *p) const;
    };
    int FWidth, FHeight;
    std::ptrdiff_t FStride;
    std::unique_ptr<void, TFree> FPlanes[3];
};

enum class TZimgFilter { Spline16, Spline36, Lanczos3 };

struct TZimgSetup {
    int SrcWidth, SrcHeight, DstWidth, DstHeight;
    TZimgFilter Filter;
    zimg_cpu_type_e Cpu;
};

class TZimgJob {
public:
    // Runs `probe` (16-bit YCbCr at the source size) through each chain to
    // pick one. Throws std::runtime_error with zimg's message on a failure.
    TZimgJob(const TZimgSetup &setup, const TPlanes &probe);
    ~TZimgJob();
    TZimgJob(const TZimgJob &) = delete;
    TZimgJob &operator=(const TZimgJob &) = delete;

    // One frame: `src` and `dst` hold 16-bit Y, Cb, Cr.
    void Run(const TPlanes &src, TPlanes &dst);
    // Which graphs the chain has, e.g. "in | resize+out".
    const std::string &Arrangement() const { return FArrangement; }

private:
    struct TStage;
    void Build(const TZimgSetup &setup, int arrangement);

    std::vector<std::unique_ptr<TStage>> FStages;
    std::string FArrangement;
};

// Weights sampled from a window function of a window-function plug-in.
#pragma once
#include <cstdint>

#include "abi/WindowFuncPluginInfo.h"
#include "resize/WeightSetter.h"

class TNormalWeightSetter : public TWeightSetter {
public:
    TNormalWeightSetter() = default;
    // Releases the window function's context.
    ~TNormalWeightSetter() override;
    TNormalWeightSetter(const TNormalWeightSetter &) = delete;
    TNormalWeightSetter &operator=(const TNormalWeightSetter &) = delete;

    // Releases the current context, then makes one for `param` (passed on
    // unchanged). A null `info`, a record without functions, or a radius
    // outside 1 ... MaxFilterRadius is refused: the new context is released again
    // and the builder stays detached. True when attached with a non-null
    // context; a null context still attaches (see HasWindowFunc).
    bool SetWindowFunc(const WindowFuncPluginInfo *info, int32_t param);
    void ReleaseWindowFunc();
    // Whether a window function is attached. A detached builder still
    // produces valid tables (nearest source sample, weight 1).
    bool HasWindowFunc() const { return FInfo != nullptr; }
    int32_t Radius() const { return FRadius; }

    void SetReduceWeights(WeightTable *table, int32_t srcSize, int32_t dstSize,
                          int32_t unit) override;
    void SetEnlargeWeights(WeightTable *table, int32_t srcSize, int32_t dstSize,
                           int32_t unit) override;

private:
    int32_t FRadius = 0;
    const WindowFuncPluginInfo *FInfo = nullptr;
    void *FFuncContext = nullptr;
};

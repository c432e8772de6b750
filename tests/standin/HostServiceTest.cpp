// The host's services as a plug-in calls them through its FILTER record.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

#include "standin/StandinHost.h"
#include "tests/support/TestPaths.h"

namespace {

constexpr int kMaxIds = 64;

struct TCallRecord {
    std::atomic<int> calls[kMaxIds];
    std::atomic<int> finished{0};
    std::atomic<int> badArguments{0};
    int expectedNum = 0;
};

void MV_CDECL RecordCall(int id, int num, void *param1, void *param2) {
    TCallRecord &r = *static_cast<TCallRecord *>(param1);
    if (num != r.expectedNum || param2 != &r.expectedNum || id < 0 || id >= kMaxIds) {
        ++r.badArguments;
        return;
    }
    ++r.calls[id];
    // Staggered finishing: the service must wait for the slowest thread.
    std::this_thread::sleep_for(std::chrono::milliseconds(id % 4));
    ++r.finished;
}

void ExpectEachIdOnce(TStandinHost &host, int threads, int rounds) {
    EXFUNC *services = host.Filter().exfunc;
    ASSERT_NE(services, nullptr);
    for (int round = 0; round < rounds; ++round) {
        TCallRecord r;
        for (auto &c : r.calls) c = 0;
        r.expectedNum = threads;
        EXPECT_EQ(services->exec_multi_thread_func(RecordCall, &r, &r.expectedNum), TRUE);
        EXPECT_EQ(r.finished.load(), threads) << "round " << round << " returned early";
        EXPECT_EQ(r.badArguments.load(), 0) << "round " << round;
        for (int id = 0; id < kMaxIds; ++id)
            EXPECT_EQ(r.calls[id].load(), id < threads ? 1 : 0)
                << "round " << round << ", thread_id " << id;
    }
}

}  // namespace

TEST(HostServices, RunEachThreadIdOnceAndReturnAfterAll) {
    for (int threads : {1, 2, 5, 17}) {
        TStandinHost host(testing_support::TestBinDir() + "FakeFilterBare.dll", 8, 8, threads);
        EXPECT_EQ(host.ThreadCount(), threads);
        ExpectEachIdOnce(host, threads, 12);
        EXPECT_EQ(host.ServiceCalls(), 12);
    }
}

TEST(HostServices, UseOneThreadPerProcessorByDefault) {
    TStandinHost host(testing_support::TestBinDir() + "FakeFilterBare.dll", 8, 8);
    const int processors = int(std::thread::hardware_concurrency());
    EXPECT_EQ(host.ThreadCount(), processors > 0 ? processors : 1);
    ExpectEachIdOnce(host, host.ThreadCount(), 3);
}

// The tool's own use of the workers: every item in exactly one band, for
// counts below, at and far above the number of bands, and a band's fault
// comes back to the caller.
TEST(HostServices, BandsCoverEveryItemOnceAndPassOnAFault) {
    for (int threads : {1, 2, 5}) {
        THostThreadPool pool(threads);
        for (int count : {1, 2, 7, 40, 41, 1080}) {
            std::vector<std::atomic<int>> seen(count);
            pool.ForBands(count, [&](int first, int last) {
                for (int i = first; i < last; ++i) ++seen[i];
            });
            for (int i = 0; i < count; ++i)
                EXPECT_EQ(seen[i].load(), 1)
                    << threads << " threads, item " << i << " of " << count;
        }
        EXPECT_THROW(pool.ForBands(100,
                                   [](int first, int) {
                                       if (first > 50) throw std::runtime_error("band");
                                   }),
                     std::runtime_error);
    }
}

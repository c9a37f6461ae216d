// libFuzzer entry point: any bytes as a script, run to its end against a host that
// answers every event. A run ends completed, with a syntax or runtime error, or
// stopped; nothing may escape, crash or trip a sanitizer.
//
// Scripts that loop for ever are legal, so runs are bounded as a user would bound
// them, by a stop request: the host asks for one after kMaxEvents events, and a
// watchdog thread (the window's Cancel button) after kMaxRunTime of a run without
// enough events. The engine checks for a stop at every statement and loop turn, so
// a run that still outlives libFuzzer's -timeout is a finding.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>

#include "support/temp_dir.h"
#include "ttscript/engine.h"

namespace {

using namespace ttscript;

constexpr int kMaxEvents = 2000;
constexpr auto kMaxRunTime = std::chrono::milliseconds(300);
// Well under libFuzzer's own memory limit, so a script that grows fast ends in the
// engine's error, which is what is under test.
constexpr std::size_t kMemoryBudget = std::size_t{64} << 20;

class FuzzHost : public EngineEvents {
  public:
    TTSA* engine = nullptr;
    std::string path;

    void GetData(const std::string& key, std::string& result) override {
        count();
        // Text, numbers and the empty answer, so every kind of value comes back.
        switch (events_ % 3) {
            case 0:
                result = key;
                break;
            case 1:
                result = std::to_string(events_);
                break;
            default:
                break;
        }
    }

    void RunCmd(const std::string& verb, const std::string&, bool& notFound) override {
        count();
        if (verb == "再実行") {
            std::int32_t n1 = 0, n2 = 0;
            if (engine->RunScript(path, n1, n2).completed) std::abort();  // nested runs are refused
        }
        notFound = verb.size() % 2 == 1;
    }

    void SetData(const std::string& item, std::string_view, const std::optional<double>&,
                 const std::string&, bool&) override {
        count();
        if (item == "例外") throw std::runtime_error("fuzz host");
    }

  private:
    void count() {
        if (++events_ == kMaxEvents) engine->RequestStop();
    }

    int events_ = 0;
};

// Asks the engine to stop until the run ends once kMaxRunTime has passed; repeated,
// as a request made before the run starts is dropped by it.
class Watchdog {
  public:
    explicit Watchdog(TTSA& engine)
        : thread_([this, &engine] {
              std::unique_lock lock(mutex_);
              if (wake_.wait_for(lock, kMaxRunTime, [this] { return done_; })) return;
              while (!wake_.wait_for(lock, std::chrono::milliseconds(10), [this] { return done_; }))
                  engine.RequestStop();
          }) {}

    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }

  private:
    std::mutex mutex_;
    std::condition_variable wake_;
    bool done_ = false;
    std::thread thread_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const mirudana::testing::TempDir dir;
    FuzzHost host;
    host.path = dir.write("fuzz.tts", std::string(reinterpret_cast<const char*>(data), size));
    TTSA engine(&host);
    engine.SetMemoryBudget(kMemoryBudget);
    host.engine = &engine;

    std::int32_t n1 = 0, n2 = 0;
    Watchdog watchdog(engine);
    (void)engine.RunScript(host.path, n1, n2);
    return 0;
}

// The report-script engine object: runs a ".tts" script and raises three events
// to its host. It knows nothing of battles.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ttscript {

struct Program;

// A host's own number for a key it resolved once (EngineEvents::ResolveKey).
using HostKeyId = std::uint32_t;
inline constexpr HostKeyId kUnresolvedKey = 0;

// What a host answers. Handlers run on the caller's thread, nested inside RunScript.
// An exception escaping a handler becomes a runtime error at the script's line.
class EngineEvents {
  public:
    virtual ~EngineEvents() = default;

    // `result` starts as the empty text; what the handler leaves in it is the answer.
    virtual void GetData(const std::string& key, std::string& result) = 0;

    // Raised once for each key a loaded script names literally ([key], GetData("key"))
    // and, with `prefix` true, for the literal start of a key it builds
    // (GetData("カード名:" & id)). A host that can answer such keys without reading
    // their text again gives its own non-zero number for it; their queries then
    // raise GetResolved instead of GetData. An exception fails the load.
    virtual HostKeyId ResolveKey(std::string_view key, bool prefix) {
        (void)key, (void)prefix;
        return kUnresolvedKey;
    }

    // The answer to a key ResolveKey gave `id` for, as GetData would give it; `rest` is
    // what follows a resolved start in the key asked ("" for a whole key). `result`
    // starts as the empty text.
    virtual void GetResolved(HostKeyId id, std::string_view rest, std::string& result) {
        (void)id, (void)rest, (void)result;
    }

    // `notFound` starts true; a command left not found is a runtime error.
    virtual void RunCmd(const std::string& verb, const std::string& noun, bool& notFound) = 0;

    // `normal`: the value as text; `num`: the value as a number when it is a number
    // or numeric text; `plain`: the expression's source text. `notFound` is ignored.
    virtual void SetData(const std::string& item, std::string_view normal,
                         const std::optional<double>& num, const std::string& plain,
                         bool& notFound) = 0;

    // Raised at short intervals of script time, so a host can keep its window alive
    // and call RequestStop even while a script loops without asking anything.
    virtual void Tick() {}

    // Raised now and then while a long script is read and checked: `done` of its
    // `total` bytes are parsed. A host may show it and call RequestStop to cancel.
    virtual void Loading(std::size_t done, std::size_t total) { (void)done, (void)total; }

    // Raised for each file beside the script that it reads: every file it imports,
    // once loaded, and each ReadText as it runs. `path` has every link followed.
    virtual void FileRead(const std::string& path) { (void)path; }
};

// Why a script did not run to its end.
struct ScriptError {
    std::string file;
    int line = 0;    // 1-based; 0 when not tied to a line
    int column = 0;  // 1-based; 0 when unknown
    std::string message;

    // "file:line:column: message" in the form the front ends show.
    std::string describe() const;
};

struct RunOutcome {
    bool completed = false;  // the script ran to its end
    bool stopped = false;    // a stop request ended it
    std::optional<ScriptError> error;
};

class TTSA {
  public:
    explicit TTSA(EngineEvents* events = nullptr);
    ~TTSA();
    TTSA(const TTSA&) = delete;
    TTSA& operator=(const TTSA&) = delete;

    // "バージョン" with "0" gives the version as "1.00.0000"; anything else "".
    std::string GetInfo(const std::string& key, const std::string& argument) const;

    // Reads and checks the whole script, then runs it. A script with a syntax
    // error runs nothing. `n1` and `n2` are reserved and left unchanged.
    RunOutcome RunScript(const std::string& path, std::int32_t& n1, std::int32_t& n2);

    // RunScript in two steps, so a host can look at the checked script in between
    // without reading it twice. LoadScript reads and checks it, raising Loading as it
    // goes, and keeps it: `completed` when it has no error (a stop request cancels
    // it). RunLoaded runs the script kept, which stays for another run.
    RunOutcome LoadScript(const std::string& path);
    RunOutcome RunLoaded();
    // The script LoadScript kept, until a run compiles it, or null; and the path it
    // was read from.
    const Program* LoadedProgram() const;
    const std::string& LoadedPath() const;

    // How much memory the script's texts and collections (host answers included)
    // may take in each later run; 1 GiB unless set. Going over it ends the run with a
    // runtime error.
    void SetMemoryBudget(std::size_t bytes);

    // Asks a running script to end at its next statement (from inside an event
    // handler); it then ends with the runtime error "中断されました".
    void RequestStop();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace ttscript

// Every test keeps its documents (XDG_CACHE_HOME) and its undo journal
// (XDG_STATE_HOME) in folders of its own under the build tree, whether ctest
// or a developer starts it: a test never writes into the user's folders.
// QUAV_TEST_FOLDERS is "<build>/tests/_kind_/<test>" with _kind_ left open.
#include <cstdlib>
#include <string>

namespace {

const bool ownFolders = [] {
    const std::string pattern = QUAV_TEST_FOLDERS;
    const auto at = pattern.find("_kind_");
    const auto folder = [&](const char *kind) {
        return pattern.substr(0, at) + kind + pattern.substr(at + 6);
    };
    ::setenv("XDG_CACHE_HOME", folder("cache").c_str(), 1);
    ::setenv("XDG_STATE_HOME", folder("state").c_str(), 1);
    return true;
}();

} // namespace

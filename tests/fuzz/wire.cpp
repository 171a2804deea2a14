// The automation wire protocol: each input line as an answer read by the client and as a
// request served by the stand-in; fields survive their escaping.
#include <cstdlib>
#include <string_view>

#include "cad-standin/CadServer.h"
#include "kvl/Error.h"
#include "winhost/Wire.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    standin::CadState state = standin::DefaultState();
    standin::CadServer server(state, winhost::DriveMap("/nonexistent-drive-c"));
    while (!input.empty()) {
        const size_t end = input.find('\n');
        const std::string_view line = input.substr(0, end);
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
        try {
            winhost::wire::ValueOf(line);
        } catch (const kvl::Error&) {
        }
        const auto fields = winhost::wire::SplitFields(line);
        if (winhost::wire::SplitFields(winhost::wire::JoinFields(fields)) != fields) std::abort();
        // The answer is one line whatever the request held.
        if (server.Handle(line).find('\n') != std::string::npos) std::abort();
    }
    return 0;
}

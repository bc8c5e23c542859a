// Arbitrary bytes as what a client sends the reference service: the head parser never reads
// beyond the buffer, and a complete head is consumed whole and parses the same again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "fuzz_check.h"
#include "http_request.h"

using vt::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const vts::ParseResult result = vts::ParseRequestHead(bytes, 4096);
    Check(result.consumed <= size);
    if (result.status == vts::ParseStatus::Complete) {
        const vts::ParseResult again =
            vts::ParseRequestHead(bytes.substr(0, result.consumed), 4096);
        Check(again.status == vts::ParseStatus::Complete && again.consumed == result.consumed);
        Check(again.request.target == result.request.target);
        const std::string_view path = vts::TargetPath(result.request.target);
        Check(path.size() <= result.request.target.size() + 1);
        vts::QueryParam(vts::RawQuery(result.request.target), "mode");
        vts::RequestBodyLength(result.request);
        vts::WantsClose(result.request);
    }
    return 0;
}

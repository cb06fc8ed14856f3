// SPDX-License-Identifier: Apache-2.0
// Fuzz target: record inputs as a host hands them back to be written
// (corvuna_capture_render): any text is read without reading outside it,
// and one that reads writes its record, view and tree within the room.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "capture/record_input.h"
#include "view/json_sink.h"
#include "view/text_sink.h"
#include "view/walker.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace corvuna;
    // The text in a block of its exact size, so that a read past it is caught.
    std::unique_ptr<char[]> text(new char[size]);
    std::copy(data, data + size, text.get());
    auto input = std::make_unique<capture::RecordInput>();
    if (!capture::ParseRecordInput(std::string_view(text.get(), size), *input)) return 0;
    const capture::Message& m = input->message;
    std::vector<char> room(4096);
    view::JsonSink json(room.data(), room.size());
    capture::WriteRecord(json, m, true, input->showKeys);
    json.Finish();
    view::TextSink tree(room.data(), room.size());
    view::DecodeView(m.direction, m.found->octets.data, m.found->octets.size, 0, &m.protection, tree, view::Label());
    tree.Finish();
    return 0;
}

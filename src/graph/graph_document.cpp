#include "graph/graph_document.h"

#include <algorithm>
#include <new>

#include "common/cp1252.h"

namespace volt {

GraphDocument::GraphDocument() : ListHead(new SampleRecord{}) {
    ExportCursor = ListHead;
    CurrentSample = ListHead;
    ListTail = ListHead;
    for (auto& live : SeriesLive) {
        live.store(kFlagOn, std::memory_order_relaxed);
    }
}

GraphDocument::~GraphDocument() {
    SampleRecord* node = ListHead;
    while (node != nullptr) {
        SampleRecord* next = node->Next.load(std::memory_order_relaxed);
        delete node;
        node = next;
    }
}

bool NavigateTo(GraphDocument& document, std::int32_t timeIndex) noexcept {
    SampleRecord* node = document.CurrentSample;
    if (node->TimeIndex < timeIndex) {
        while (node->TimeIndex != timeIndex) {
            SampleRecord* next = node->Next.load(std::memory_order_acquire);
            if (next == nullptr) {
                break;
            }
            node = next;
        }
    } else {
        while (node->TimeIndex != timeIndex && node->Prev != nullptr) {
            node = node->Prev;
        }
    }
    document.CurrentSample = node;
    return node->TimeIndex == timeIndex;
}

void SetTitle(GraphDocument& document, std::string_view cp1252Text) noexcept {
    auto& title = document.Header.Title;
    const std::size_t count = std::min(cp1252Text.size(), kTitleMaxChars);
    std::fill(std::copy_n(cp1252Text.begin(), count, title.begin()), title.end(), '\0');
}

void SetTitleUtf8(GraphDocument& document, std::string_view utf8Text) {
    SetTitle(document, Utf8ToCp1252(utf8Text));
}

std::string TitleUtf8(const GraphDocument& document) {
    return Cp1252ToUtf8(TitleText(document.Header));
}

SampleRecord* AppendSampleNode(GraphDocument& document, const SampleValues& values) noexcept {
    SampleRecord* tail = document.ListTail;
    auto* node = new (std::nothrow) SampleRecord{};
    if (node == nullptr) {
        return nullptr;
    }
    node->TimeIndex = tail->TimeIndex + 1;
    node->Prev = tail;
    node->Voltage = values.Voltage;
    node->Current = values.Current;
    node->Capacity = values.Capacity;
    node->Temperature = values.Temperature;
    node->Cells = values.Cells;
    // Published last: a walker that sees the link sees the whole node.
    tail->Next.store(node, std::memory_order_release);
    document.ListTail = node;
    return node;
}

}  // namespace volt

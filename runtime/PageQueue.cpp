#include "runtime/PageQueue.h"

#include "runtime/TextCase.h"

namespace dv {

void PageQueue::renumber(std::string_view control, std::string_view connector) {
    const std::string count = std::to_string(pages.size());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const std::string number =
            std::to_string(i + 1) + " " + std::string(connector) + " " + count;
        for (PageText& text : pages[i].texts)
            if (!text.name.empty() && equalsIgnoreCaseAscii(text.name, control)) text.text = number;
    }
}

std::string PageQueue::pageText(int page) const {
    std::string all;
    for (const PageText& text : pages.at(static_cast<std::size_t>(page)).texts) {
        all += text.text;
        all += '\n';
    }
    return all;
}

bool PageQueue::contains(std::string_view wanted) const {
    for (const Page& page : pages)
        for (const PageText& text : page.texts)
            if (text.text.find(wanted) != std::string::npos) return true;
    return false;
}

}  // namespace dv

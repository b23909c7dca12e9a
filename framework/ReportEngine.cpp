#include "framework/ReportEngine.h"

#include "runtime/PictureFormat.h"
#include "runtime/TextCase.h"

namespace dv {

struct ReportEngine::BoundElement {
    const ReportElement* element;
    std::unique_ptr<ValueSource> source;  // a field's value
    std::optional<Picture> picture;
    TextAlign align = TextAlign::Left;
    bool pageNumber = false;
};

struct ReportEngine::BoundBand {
    const ReportBand* band;
    std::vector<BoundElement> elements;
};

ReportEngine::ReportEngine(const ReportLayout& layout, const NameResolver& names)
    : layout_(layout) {
    bands_.reserve(layout.bands.size());
    for (const ReportBand& band : layout.bands) {
        bands_.push_back(bind(band, names));
        if (band.kind == ReportBandKind::Header) header_ = &bands_.back();
        if (band.kind == ReportBandKind::Footer) footer_ = &bands_.back();
    }
}

ReportEngine::~ReportEngine() = default;

ReportEngine::BoundBand ReportEngine::bind(const ReportBand& band,
                                           const NameResolver& names) const {
    BoundBand bound{&band, {}};
    for (const ReportElement& element : band.elements) {
        BoundElement b{&element, nullptr, std::nullopt, element.align, false};
        if (element.kind == ReportElementKind::Field) {
            if (!element.picture.empty()) b.picture = Picture::of(element.picture);
            if (!element.alignGiven && b.picture && b.picture->rightAligned())
                b.align = TextAlign::Right;
            b.pageNumber = equalsIgnoreCaseAscii(element.text, kPageNumberControl);
            if (!b.pageNumber) {
                try {
                    b.source = names.resolve(element.text);
                } catch (const std::invalid_argument& e) {
                    throw ReportError(layout_.source + ":" + std::to_string(element.line) + ": " +
                                      e.what());
                }
                if (!b.source)
                    throw ReportError(layout_.source + ":" + std::to_string(element.line) +
                                      ": the field " + element.text + " is not known");
            }
        }
        bound.elements.push_back(std::move(b));
    }
    return bound;
}

void ReportEngine::Open(PageQueue& pages) {
    pages_ = &pages;
    pageOpen_ = false;
    pages.title = layout_.title;
    pages.width = layout_.pageWidth();
    pages.height = layout_.pageHeight();
    pages.landscape = layout_.landscape;
    pages.fonts = layout_.fonts;
    pages.pages.clear();
}

void ReportEngine::Detach() {
    pages_ = nullptr;
    pageOpen_ = false;
}

const ReportEngine::BoundBand& ReportEngine::bandNamed(std::string_view name) const {
    for (const BoundBand& band : bands_)
        if (!band.band->name.empty() && equalsIgnoreCaseAscii(band.band->name, name)) return band;
    throw ReportError(layout_.source + ": the report has no band " + std::string(name));
}

void ReportEngine::Print(std::string_view name) {
    if (pages_ == nullptr) throw ReportError("the report " + layout_.name + " is not open");
    const BoundBand& band = bandNamed(name);
    if (!pageOpen_) startPage();
    if (cursor_ + band.band->height > bodyBottom_ && cursor_ > bodyTop_) {
        finishPage();
        startPage();
    }
    place(band, cursor_);
    cursor_ += band.band->height;
}

void ReportEngine::Close() {
    if (pageOpen_) finishPage();
}

PageLength ReportEngine::roomLeft() const {
    return pageOpen_ ? bodyBottom_ - cursor_ : 0;
}

void ReportEngine::startPage() {
    pages_->pages.emplace_back();
    pageOpen_ = true;
    cursor_ = layout_.marginTop;
    if (header_ != nullptr) {
        place(*header_, cursor_);
        cursor_ += header_->band->height;
    }
    bodyTop_ = cursor_;
    bodyBottom_ = layout_.pageHeight() - layout_.marginBottom -
                  (footer_ != nullptr ? footer_->band->height : 0);
}

void ReportEngine::finishPage() {
    if (footer_ != nullptr) place(*footer_, bodyBottom_);
    pageOpen_ = false;
}

void ReportEngine::place(const BoundBand& band, PageLength top) {
    Page& page = pages_->pages.back();
    const PageLength left = layout_.marginLeft;
    for (const BoundElement& bound : band.elements) {
        const ReportElement& e = *bound.element;
        switch (e.kind) {
            case ReportElementKind::Text:
            case ReportElementKind::Field:
                placeText(bound, left, top, page);
                break;
            case ReportElementKind::Line:
                page.lines.push_back({left + e.x, top + e.y, left + e.x + e.width,
                                      top + e.y + e.height, e.thickness});
                break;
            case ReportElementKind::Box:
                page.boxes.push_back({left + e.x, top + e.y, e.width, e.height, e.thickness});
                break;
        }
    }
}

void ReportEngine::placeText(const BoundElement& bound, PageLength left, PageLength top,
                             Page& page) const {
    const ReportElement& e = *bound.element;
    PageText text;
    text.x = left + e.x;
    text.y = top + e.y;
    text.width = e.width;
    text.height = e.height;
    text.font = e.font;
    text.align = bound.align;
    if (e.kind == ReportElementKind::Text) {
        text.text = e.text;
    } else {
        text.name = e.text;
        text.text = bound.pageNumber ? std::to_string(pages_->pages.size()) : fieldText(bound);
    }
    page.texts.push_back(std::move(text));
}

std::string ReportEngine::fieldText(const BoundElement& bound) const {
    const ExpressionValue value = bound.source->read();
    if (!bound.picture) return std::string(trimTrailingBlanks(value.toText()));
    const Picture& picture = *bound.picture;
    switch (picture.kind()) {
        case PictureKind::number:
            return format(value.toNumber(), picture);
        case PictureKind::date:
            return formatDate(static_cast<DayNumber>(value.toNumber().unitsAt(0)), picture);
        case PictureKind::time:
            return formatTime(static_cast<TimeValue>(value.toNumber().unitsAt(0)), picture);
        case PictureKind::pattern:
            return value.isNumber() ? format(value.toNumber(), picture)
                                    : formatText(value.toText(), picture);
        case PictureKind::text:
            break;
    }
    return formatText(std::string(trimTrailingBlanks(value.toText())), picture);
}

}  // namespace dv

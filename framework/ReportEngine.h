#pragma once

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "framework/ReportLayout.h"
#include "runtime/ExpressionNames.h"
#include "runtime/PageQueue.h"
#include "runtime/Picture.h"

namespace dv {

// The control that shows the page number, and after the last page "N od M".
inline constexpr std::string_view kPageNumberControl = "StevilkaStrani";
// The word between the page number and the page count.
inline constexpr std::string_view kPageCountConnector = "od";

// A report that cannot be printed as asked: a field whose name nothing binds, a band the layout
// does not have.
class ReportError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Prints the bands of a report layout into pages. A procedure prints detail and other bands by
// name while its pass runs; the engine lays them out one below the other and paginates: the
// first band starts page 1 with the page header, and a band that does not fit above the page
// footer closes the page (printing the footer) and starts a new one. Fields read their values
// when their band is printed. After the last band, Close closes the last page; the pages are in
// the page queue attached at Open.
class ReportEngine {
  public:
    // Binds every field of the layout through `names` (the page number control excepted).
    // Throws ReportError naming the first field that nothing binds.
    ReportEngine(const ReportLayout& layout, const NameResolver& names);
    ~ReportEngine();
    ReportEngine(const ReportEngine&) = delete;
    ReportEngine& operator=(const ReportEngine&) = delete;

    const ReportLayout& layout() const { return layout_; }

    // Attaches the page queue (emptied and given the report's sheet and fonts).
    void Open(PageQueue& pages);
    bool isOpen() const { return pages_ != nullptr; }
    // Prints the detail or other band of that name; throws ReportError for an unknown band or a
    // report that is not open.
    void Print(std::string_view band);
    // Closes the last page; printing after it starts a new page.
    void Close();
    // Detaches the page queue.
    void Detach();

    int pageCount() const { return pages_ ? pages_->pageCount() : 0; }
    // The room left on the current page (0 when no page is open).
    PageLength roomLeft() const;

  private:
    struct BoundElement;
    struct BoundBand;

    BoundBand bind(const ReportBand& band, const NameResolver& names) const;
    const BoundBand& bandNamed(std::string_view name) const;
    void startPage();
    void finishPage();
    void place(const BoundBand& band, PageLength top);
    void placeText(const BoundElement& bound, PageLength left, PageLength top, Page& page) const;
    std::string fieldText(const BoundElement& bound) const;

    const ReportLayout& layout_;
    std::vector<BoundBand> bands_;
    const BoundBand* header_ = nullptr;
    const BoundBand* footer_ = nullptr;
    PageQueue* pages_ = nullptr;
    bool pageOpen_ = false;
    PageLength cursor_ = 0;
    PageLength bodyTop_ = 0;
    PageLength bodyBottom_ = 0;
};

}  // namespace dv

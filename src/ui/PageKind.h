// SPDX-License-Identifier: MIT
// The main window's five device pages, in tab order, and what each writes.
#pragma once

#include <array>
#include <optional>

namespace qm {

enum class PageKind {
  PrinterAlibaba,
  PrinterSelfHosted,
  PrinterTencent,
  BoxSelfHosted,
  BoxAlibaba,
};

inline constexpr int kPageCount = 5;
inline constexpr std::array<PageKind, kPageCount> kPageKinds = {
    PageKind::PrinterAlibaba, PageKind::PrinterSelfHosted, PageKind::PrinterTencent,
    PageKind::BoxSelfHosted, PageKind::BoxAlibaba};

// The cloud service a page configures, and so the record its write builds.
enum class CloudService { Alibaba, SelfHosted, Tencent };

constexpr CloudService ServiceOf(PageKind kind) {
  switch (kind) {
    case PageKind::PrinterAlibaba:
    case PageKind::BoxAlibaba:
      return CloudService::Alibaba;
    case PageKind::PrinterSelfHosted:
    case PageKind::BoxSelfHosted:
      return CloudService::SelfHosted;
    case PageKind::PrinterTencent:
      break;
  }
  return CloudService::Tencent;
}

// The page's position in the tab strip and in the window's page array.
constexpr int TabIndex(PageKind kind) { return static_cast<int>(kind); }

// The page at a tab index; none outside 0..4 (a tab strip without a
// selection reports -1).
constexpr std::optional<PageKind> PageAt(int index) {
  if (static_cast<unsigned>(index) >= static_cast<unsigned>(kPageCount)) return std::nullopt;
  return kPageKinds[static_cast<std::size_t>(index)];
}

}  // namespace qm

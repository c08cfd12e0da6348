#include "pages/cut/cut_rules.h"

#include <algorithm>

#include "uicore/dialog_layout.h"

namespace vq::cut {

uint32_t LabelPitch(const PaperInfo& paper) {
  return paper.paperLength + (paper.paperLayout == paper_layout::kLabelsOnLiner ? paper.gap : 0);
}

uint32_t MinCutCount(const PaperInfo& paper) {
  const uint32_t pitch = LabelPitch(paper);
  if (pitch >= kMinPieceLength) return 1;
  // A zero pitch (a broken paper record) cannot be measured: the most the
  // field allows keeps every piece long enough whatever the labels are.
  if (pitch == 0) return kMaxCount;
  return (kMinPieceLength + pitch - 1) / pitch;
}

uint32_t& ModeCount(JobSettings& js) { return AfterCopy(js) ? js.CopyCount1 : js.CopyCount2; }
uint32_t ModeCount(const JobSettings& js) { return AfterCopy(js) ? js.CopyCount1 : js.CopyCount2; }

bool SwitchCuttingOn(JobSettings& js) {
  js.Option728 = kCuttingOn;
  if (LabelPitch(js.Paper) >= kMinPieceLength) return false;
  const uint32_t least = MinCutCount(js.Paper);
  js.CopyCount1 = std::max(js.CopyCount1, least);
  js.CopyCount2 = std::max(js.CopyCount2, least);
  return true;
}

void RaiseModeCount(JobSettings& js) {
  if (!CuttingOn(js)) return;
  uint32_t& count = ModeCount(js);
  count = std::max(count, MinCutCount(js.Paper));
}

CountEntry TypedCount(const char16_t* text, const JobSettings& js) {
  const uint32_t current = ModeCount(js);
  if (!text || !*text) return {false, current, false};
  const char16_t* p = text;
  while (*p == u' ') ++p;
  if (*p == u'-' || *p == u'+') ++p;
  if (*p < u'0' || *p > u'9') return {true, current, true};
  int64_t value = ParseLeadingInteger(text);
  bool rewrite = false;
  if (CuttingOn(js) && value < static_cast<int64_t>(MinCutCount(js.Paper))) {
    value = MinCutCount(js.Paper);
    rewrite = true;
  }
  if (value > kMaxCount) {
    value = kMaxCount;
    rewrite = true;
  }
  // Without cutting no lower limit applies while typing; a negative count
  // still cannot be stored in the unsigned field, so it reads as 0, which
  // the record's repair turns into 1.
  if (value < 0) {
    value = 0;
    rewrite = true;
  }
  return {true, static_cast<uint32_t>(value), rewrite};
}

uint32_t SpunCount(int64_t fieldValue, int32_t delta, const JobSettings& js) {
  int64_t value = std::clamp<int64_t>(fieldValue + delta, 1, kMaxCount);
  if (CuttingOn(js)) value = std::max<int64_t>(value, MinCutCount(js.Paper));
  return static_cast<uint32_t>(value);
}

uint32_t BuildOption740(uint32_t old, bool leading, bool trailing, bool between, bool afterCopy,
                        bool withinCopy) {
  constexpr uint32_t kOwn = kLeadingEdge | kTrailingEdge | kBetweenLabels | kAfterCopy | kWithinCopy;
  return (old & ~kOwn) | (leading ? kLeadingEdge : 0) | (trailing ? kTrailingEdge : 0) |
         (between ? kBetweenLabels : 0) | (afterCopy ? kAfterCopy : 0) |
         (withinCopy ? kWithinCopy : 0);
}

CutControls ControlsFor(const JobSettings& js) {
  CutControls c{};
  const uint32_t o = js.Option740;
  c.cutting = CuttingOn(js);
  c.groupEnabled = c.cutting;
  c.leading = o & kLeadingEdge;
  c.trailing = o & kTrailingEdge;
  c.between = o & kBetweenLabels;
  c.afterCopy = o & kAfterCopy;
  c.withinCopy = o & kWithinCopy;
  c.modeEnabled = c.groupEnabled && c.between;
  c.withinCopyEnabled = c.modeEnabled && c.afterCopy;
  // Every N labels always uses its count; after each copy only when the
  // copy is cut within as well.
  c.countEnabled = c.modeEnabled && (!c.afterCopy || c.withinCopy);
  c.count = c.afterCopy ? js.CopyCount1 : js.CopyCount2;
  c.unitText = c.afterCopy ? 4420 : 4421;
  return c;
}

std::vector<int> CutLinePositions(uint32_t option740, uint32_t count) {
  // The bitmaps' label boundaries: nine labels between the edges at 18 and
  // 506, boundaries 53 pixels apart from 77; after each copy they are three
  // copies of three pages, the copies ending at 183 and 342.
  constexpr int kLeading = 18, kTrailing = 506, kFirstBoundary = 77, kPitch = 53;
  constexpr int kCopyWidth = 3 * kPitch;
  const uint32_t n = std::max<uint32_t>(count, 1);
  std::vector<int> x;
  if (option740 & kLeadingEdge) x.push_back(kLeading);
  if (option740 & kTrailingEdge) x.push_back(kTrailing);
  if (option740 & kBetweenLabels) {
    if (!(option740 & kAfterCopy)) {
      // Only eight boundaries are pictured: a count above 8 shows none.
      for (uint32_t k = 1; k <= 8; ++k)
        if (k % n == 0) x.push_back(kFirstBoundary + kPitch * static_cast<int>(k - 1));
    } else if (!(option740 & kWithinCopy)) {
      x.insert(x.end(), {kFirstBoundary + 2 * kPitch, kFirstBoundary + 2 * kPitch + kCopyWidth});
    } else {
      for (int offset : {0, kCopyWidth}) {
        if (n == 1) x.push_back(kFirstBoundary + offset);
        if (n < 3) x.push_back(kFirstBoundary + kPitch + offset);
        x.push_back(kFirstBoundary + 2 * kPitch + offset);
      }
      if (n == 1) x.push_back(kFirstBoundary + 2 * kCopyWidth);
      if (n < 3) x.push_back(kFirstBoundary + kPitch + 2 * kCopyWidth);
    }
  }
  std::sort(x.begin(), x.end());
  x.erase(std::unique(x.begin(), x.end()), x.end());
  return x;
}

Snapshot TakeSnapshot(const JobSettings& js) {
  return {js.Option728, js.Option740, js.CopyCount1, js.CopyCount2};
}

bool Changed(const Snapshot& s, const JobSettings& js) {
  return s.option728 != js.Option728 || s.option740 != js.Option740 ||
         s.copyCount1 != js.CopyCount1 || s.copyCount2 != js.CopyCount2;
}

void RestoreDefaults(JobSettings& js, const JobSettings& d) {
  js.Option740 = d.Option740;
  js.CopyCount1 = d.CopyCount1;
  js.CopyCount2 = d.CopyCount2;
  js.Option728 = d.Option728;
}

}  // namespace vq::cut

#include "entry/spooler_queries.h"

#include <algorithm>
#include <cstring>

#include "devinfo/difm_api.h"
#include "settings/printer_store.h"

namespace vq {
namespace {

template <typename T>
void Append(std::vector<unsigned char>& out, const T& value) {
  const auto* b = reinterpret_cast<const unsigned char*>(&value);
  out.insert(out.end(), b, b + sizeof value);
}

// The paper answers: APUI_PAPERNUM is the count; the records are read only
// when there is a buffer to fill.
CapabilityAnswer PaperAnswer(PrinterStore* printer, uint32_t capability, bool wantOutput) {
  CapabilityAnswer a;
  const uint32_t count = GetPrinterDword(printer, pd::kPaperNum);
  a.result = count;
  if (!wantOutput || count == 0) return a;
  // The count is already read: one more read for the records, checked
  // against it (ReadPaperTable would read the count again).
  const std::vector<PaperInfo> table = ReadPaperInfoValue(printer);
  if (table.size() != count) {
    a.result = 0;  // the table cannot be read: no papers to report
    return a;
  }
  for (const PaperInfo& p : table) {
    if (capability == kDcPapers) {
      Append(a.output, static_cast<uint16_t>(p.paperId));
    } else if (capability == kDcPaperSize) {
      Append(a.output, static_cast<int32_t>(p.paperWidth));
      Append(a.output, static_cast<int32_t>(p.paperLength));
    } else {
      Append(a.output, p.paperName);
    }
  }
  return a;
}

// An answer the device module gives as a count of elements of a fixed size.
template <typename Buffer>
CapabilityAnswer ListAnswer(int32_t (*fn)(DifmHandle, Buffer*), DifmHandle h, size_t elementSize,
                            bool wantOutput) {
  CapabilityAnswer a;
  const int32_t count = fn(h, nullptr);
  a.result = static_cast<uint32_t>(count);
  if (wantOutput && count > 0 && count < 4096) {
    a.output.assign(static_cast<size_t>(count) * elementSize, 0);
    fn(h, reinterpret_cast<Buffer*>(a.output.data()));
  }
  return a;
}

CapabilityAnswer ExtentAnswer(int32_t (*fn)(DifmHandle, void*), DifmHandle h, bool wantOutput) {
  CapabilityAnswer a;
  a.result = static_cast<uint32_t>(fn(h, nullptr));
  if (wantOutput) {
    a.output.assign(2 * sizeof(int32_t), 0);  // a POINT
    fn(h, a.output.data());
  }
  return a;
}

CapabilityAnswer Value(uint32_t v) {
  CapabilityAnswer a;
  a.result = v;
  return a;
}

// Lowers dmDriverExtra (and dmSize, when even that is too large) until the
// header claims no more than the buffer's bytes.
void FitDevModeHeader(std::vector<unsigned char>* dm) {
  if (dm->size() < offsetof(JobSettings, dmFields) || DevModeTotalSize(dm->data()) <= dm->size())
    return;
  uint16_t size = 0;
  std::memcpy(&size, dm->data() + offsetof(JobSettings, dmSize), 2);
  size = static_cast<uint16_t>(std::min<size_t>(size, dm->size()));
  const auto extra = static_cast<uint16_t>(dm->size() - size);
  std::memcpy(dm->data() + offsetof(JobSettings, dmSize), &size, 2);
  std::memcpy(dm->data() + offsetof(JobSettings, dmDriverExtra), &extra, 2);
}

CapabilityAnswer MediaReady(const char16_t* deviceName, bool wantOutput,
                            const DriverServices& svc) {
  CapabilityAnswer a;
  if (!wantOutput) return Value(1);
  std::unique_ptr<PrinterStore> named =
      svc.spooler && deviceName ? svc.spooler->Open(deviceName, kAccessDefault) : nullptr;
  std::vector<unsigned char> dm;
  if (!named || !named->GetDevMode(2, &dm) || dm.size() < offsetof(JobSettings, dmLogPixels))
    return a;  // -1
  const auto* form = reinterpret_cast<const char16_t*>(dm.data() + offsetof(JobSettings, dmFormName));
  const size_t chars = std::find(form, form + 32, u'\0') - form;
  const auto* bytes = reinterpret_cast<const unsigned char*>(form);
  a.output.assign(bytes, bytes + chars * 2);
  a.output.insert(a.output.end(), 2, 0);  // "up to its terminator"
  a.result = 1;
  return a;
}

}  // namespace

bool CapabilityNeedsPrinterData(uint32_t capability) {
  switch (static_cast<uint16_t>(capability)) {
    case kDcFields:
    case kDcPapers:
    case kDcPaperSize:
    case kDcPaperNames:
    case kDcNup: return true;
    default: return false;
  }
}

CapabilityAnswer AnswerCapability(PrinterStore* printer, const char16_t* deviceName,
                                  uint32_t capability, bool wantOutput,
                                  const DriverServices& svc) {
  if (!svc.difm) return {};
  DifmMapping map(*svc.difm, kModelName);
  if (!map) return {};
  const DifmApi& d = map.api();
  const DifmHandle h = map.get();
  CapabilityAnswer a;
  switch (static_cast<uint16_t>(capability)) {
    case kDcFields:
      a = Value(GetPrinterDword(printer, pd::kScaling) ? kJobFields | kDmScale : kJobFields);
      break;
    case kDcPapers:
    case kDcPaperSize:
    case kDcPaperNames:
      a = PaperAnswer(printer, static_cast<uint16_t>(capability), wantOutput);
      break;
    case kDcMinExtent: a = ExtentAnswer(d.DifmGetDeviceCapsMinExtentInf, h, wantOutput); break;
    case kDcMaxExtent: a = ExtentAnswer(d.DifmGetDeviceCapsMaxExtentInf, h, wantOutput); break;
    case kDcBins:
      a = Value(1);
      if (wantOutput) Append(a.output, uint16_t{7});  // DMBIN_AUTO
      break;
    case kDcDuplex: a = Value(d.DifmGetDuplexInf(h)); break;
    case kDcSize: a = Value(kPublicSize); break;
    case kDcExtra: a = Value(kPrivateSize); break;
    case kDcVersion: a = Value(kSpecVersion); break;
    case kDcDriver: a = Value(kDriverVersion); break;
    case kDcBinNames: a = ListAnswer(d.DifmGetBinNamesInf, h, 24 * sizeof(char16_t), wantOutput); break;
    case kDcEnumResolutions:
      a = ListAnswer(d.DifmGetEnumResolutionsInf, h, 2 * sizeof(int32_t), wantOutput);
      break;
    case kDcFileDependencies: a = Value(0); break;
    case kDcTrueType: a = Value(d.DifmGetTrueTypeInf(h)); break;
    case kDcOrientation: a = Value(d.DifmGetOrientationInf(h)); break;
    case kDcCopies: a = Value(static_cast<uint32_t>(static_cast<int16_t>(d.DifmGetCopiesInf(h)))); break;
    case kDcCollate: a = Value(d.DifmGetCollateInf(h)); break;
    case kDcPersonality: a = Value(0); break;
    case kDcPrintRate: a = Value(d.DifmGetPrintRateInf(h)); break;
    case kDcPrintRateUnit: a = Value(d.DifmGetPrintRateUnitInf(h)); break;
    case kDcPrinterMem: a = Value(d.DifmGetPrinterMemInf(h)); break;
    case kDcMediaReady: a = MediaReady(deviceName, wantOutput, svc); break;
    case kDcStaple: a = Value(d.DifmGetStapleInf(h)); break;
    case kDcPrintRatePpm: a = Value(d.DifmGetPrintRatePPMInf(h)); break;
    case kDcColorDevice: a = Value(d.DifmGetColorDeviceInf(h)); break;
    case kDcNup:
      a = GetPrinterDword(printer, pd::kPrintLayout)
              ? ListAnswer(d.DifmGetNupInf, h, sizeof(uint32_t), wantOutput)
              : Value(0);
      break;
    default: break;  // -1
  }
  if (!map.Unmap()) return {};
  return a;
}

bool ConvertDevMode(const char16_t* printerName, const void* devModeIn, void* devModeOut,
                    int32_t* needed, uint32_t mode, const DriverServices& svc,
                    uint32_t* lastError) {
  *lastError = 0;
  if (!devModeOut) {
    if (needed) *needed = static_cast<int32_t>(kJobSettingsSize);
    *lastError = kErrorInsufficientBuffer;
    return false;
  }
  switch (mode) {
    case kCdmConvert: {
      if (!devModeIn) {
        *lastError = kErrorInvalidParameter;
        return false;
      }
      std::unique_ptr<PrinterStore> printer =
          svc.spooler && printerName ? svc.spooler->Open(printerName, kPrinterAllAccess) : nullptr;
      if (!printer) return true;
      std::vector<unsigned char> stored;
      if (!printer->GetDevMode(2, &stored)) return false;
      // The spooler converts a stored device mode to its single-byte form,
      // which needs the public part to hold the form name whole, as every
      // DEVMODEW since the form name came does. A shorter public part is no
      // record it can store: Wine's spooler faults on one (its length less
      // the two names goes negative).
      uint16_t publicSize = 0;
      std::memcpy(&publicSize, static_cast<const unsigned char*>(devModeIn) + offsetof(JobSettings, dmSize), 2);
      if (publicSize < offsetof(JobSettings, dmLogPixels)) {
        *lastError = kErrorInvalidParameter;
        return false;
      }
      // The caller's bytes go out and into the printer's default as they
      // are, another driver's record included: every reader of the stored
      // default validates it and falls back when it cannot use it.
      JobSettings converted{};
      const uint32_t n = CopyDevModeBytes(devModeIn, kUnknownSize, &converted);
      std::memcpy(devModeOut, &converted, n);
      stored.resize(std::max<size_t>(stored.size(), n));
      std::memcpy(stored.data(), &converted, n);
      // The spooler copies as many bytes as the header claims, and a header
      // of up to 1384 copied bytes can claim 128 KiB: it never claims more
      // than the stored buffer holds.
      FitDevModeHeader(&stored);
      printer->SetDevMode(stored.data(), static_cast<uint32_t>(stored.size()));
      return true;
    }
    case kCdmDriverDefault: {
      JobSettings defaults{};
      if (SetDefaultJobSettings(&defaults, svc)) std::memcpy(devModeOut, &defaults, kJobSettingsSize);
      return true;
    }
    default:
      return true;
  }
}

bool QueryJobAttributes(bool havePrinter, const void* devMode, uint32_t level,
                        JobAttributes* out, const DriverServices& svc) {
  if (!svc.difm) return false;
  DifmMapping map(*svc.difm, kModelName);
  if (!map) return false;
  const int32_t maxCopies = static_cast<int16_t>(map.api().DifmGetCopiesInf(map.get()));
  if (!havePrinter || !devMode || !out || level == 0 || level > 3) return false;
  JobSettings js{};
  CopyDevModeBytes(devMode, kUnknownSize, &js);
  if (js.dmDriverExtra != kPrivateSize || !HasSignature(js)) return false;
  *out = JobAttributes{};
  out->jobPagesPerSide = js.PagesPerSheet;
  out->drvPagesPerSide = 1;
  out->nupBorderFlags = js.PageBorder ? 0 : 1;
  out->jobPageOrderFlags = js.PageOrder;
  out->drvPageOrderFlags = 0;
  out->jobCopies = static_cast<uint32_t>(js.dmCopies);
  out->drvCopies = static_cast<uint32_t>(maxCopies);
  out->colorOptimization = 0;
  out->printQuality = js.dmPrintQuality;
  out->yResolution = js.dmYResolution;
  return true;
}

bool CheckJobDevMode(void* devMode, PrinterStore* printer, const DriverServices& svc) {
  if (!devMode) return false;
  JobSettings js{};
  const uint32_t n = CopyDevModeBytes(devMode, kUnknownSize, &js);
  // A repaired record claims all 1384 bytes; one that came in shorter
  // cannot be repaired where it lies without claiming bytes the job does
  // not have.
  if (n < kJobSettingsSize) return false;
  const bool ok = ValidateJobSettings(&js, printer, svc);
  if (ok) std::memcpy(devMode, &js, n);
  return ok;
}

}  // namespace vq

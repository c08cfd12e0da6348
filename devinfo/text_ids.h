// Which texts, pop-up help texts and messages each page and dialog of the UI
// module asks the device-information module for, by number.
//
// Per page or dialog:
//   k...Labels    texts set on its controls (SetDialogTexts rows); their "&"
//                 accelerators must be unique within the dialog
//   k...Texts     its title and every other text it shows or formats: list
//                 items, units, message-box texts and captions, lines it builds
//   k...Help      pop-up help texts of its help table (WM_HELP, menu 391)
//   k...Messages  messages it shows with ShowMessageById, the answer it waits
//                 for, and whether it passes the one "%s" argument
// A number may appear in several dialogs; every appearance must agree.
//
// Texts that are formats are listed in kFormatTexts with the conversions
// they take, in order; both languages must take exactly those. No other text
// carries a conversion.
//
// Layout of the lines the pages build from texts (the catalogue is written
// for these):
//   paper details tooltip  5357 W " x " L unit / 5359..5362 each margin unit /
//                          5363 left " / " right unit; unit 5358 (mm) or 5364 (in)
//   media details tooltip  name ":" CRLF, 5367 with the eight ink values, then
//                          CRLF and 5368 with 5002/5003 and 4999/5000 when the
//                          media has a color profile
//   form information       one line each: 4847 "%04x", 4850 then 4841 or 4846,
//                          4848 and 4849 each with the size and 4887/4888,
//                          4851 with the resolution and " dpi"
//   print speed            5014..5023 followed directly by 5012
//   wait progress          5344 and 5347 take the percent done then the minutes
//                          left; a caller with no minutes cuts the text before
//                          its first "(" (kept ASCII in both languages, see
//                          kCutAtParenthesisTexts); 5345 takes the percent alone
#pragma once

#include <cstdint>
#include <span>

namespace vq::text_ids {

enum class Reply : uint8_t {
  kOk,           // shown as a notice; the answer is not looked at
  kYesNo,        // the caller goes on on IDYES only
  kOkCancel,     // the caller goes on on IDOK only
  kRetryCancel,  // IDRETRY repeats a step, IDCANCEL ends it
};

struct MessageUse {
  uint32_t id;
  Reply reply;
  bool argument;  // the caller passes a name or a path for the text's "%s"
};

struct FormatText {
  uint32_t id;
  const char* conversions;  // the conversion letters in order, e.g. "ss"
};

// ---- Property sheets (tab titles) ---------------------------------------
inline constexpr uint16_t kBasicPageTitle = 5370;
inline constexpr uint16_t kColourPageTitle = 5371;
inline constexpr uint16_t kCutPageTitle = 5372;
inline constexpr uint16_t kOverlayPageTitle = 5373;
inline constexpr uint16_t kAdvancedPageTitle = 5374;
inline constexpr uint16_t kUtilityPageTitle = 5375;        // in Printing Preferences
inline constexpr uint16_t kUtilityDevicePageTitle = 4738;  // in the printer properties
inline constexpr uint32_t kSheetTitleTexts[] = {kBasicPageTitle,    kColourPageTitle,
                                                kCutPageTitle,      kOverlayPageTitle,
                                                kAdvancedPageTitle, kUtilityPageTitle,
                                                kUtilityDevicePageTitle};
// The page windows' own texts (two pages set one).
inline constexpr uint16_t kCutPageWindowText = 4744;
inline constexpr uint16_t kOverlayPageWindowText = 4748;

// Shared by every page and dialog that names the current settings.
inline constexpr uint16_t kSettingsNameDefault = 4759;  // the name of the built-in defaults
inline constexpr uint16_t kSettingsNameCurrent = 4760;  // settings changed by hand
inline constexpr uint32_t kSettingsNameTexts[] = {kSettingsNameDefault, kSettingsNameCurrent};
// The text that names a record by its SettingsNameId: 0 the current
// settings, 1 the defaults; a favourite (2 and on) is named by its record.
constexpr uint16_t FixedSettingsNameText(uint32_t settingsNameId) {
  return settingsNameId == 0 ? kSettingsNameCurrent : settingsNameId == 1 ? kSettingsNameDefault : 0;
}

// The caption of every message box (messages.inc).
inline constexpr uint32_t kMessageCaptionTexts[] = {4761};

// ---- Basic settings page (template 107) ---------------------------------
inline constexpr uint32_t kBasicPageLabels[] = {4352, 4353, 4373, 4374, 4377, 4354, 4355, 4378,
                                                4379, 4380, 4381, 4383, 4372, 4356, 4358, 4384,
                                                4387};
inline constexpr uint32_t kBasicPageTexts[] = {
    5370, 4388, 4757, 4759, 4760, 4999, 5000, 5002, 5003, 5357, 5358, 5359, 5360,
    5361, 5362, 5363, 5364, 5367, 5368, 5386, 5387, 5388, 5389, 5534};
inline constexpr uint32_t kBasicPageHelp[] = {5051, 5052, 5053, 5054, 5056, 5057, 5058, 5066,
                                              5068, 4891, 4889, 5065, 5063, 5062, 5217, 5064};
inline constexpr MessageUse kBasicPageMessages[] = {
    {4114, Reply::kOk, false},
    {4115, Reply::kOk, false},
    {4118, Reply::kOk, false},
    {4130, Reply::kOk, false},
};

// ---- Favorites dialog (template 8000) ------------------------------------
inline constexpr uint32_t kFavouritesLabels[] = {4363, 4364, 4371, 4366, 4367, 4365,
                                                 4359, 4369, 4370};
inline constexpr uint32_t kFavouritesTexts[] = {4750, 5049, 4759, 4760, 5387, 5388, 5389};
inline constexpr uint32_t kFavouritesHelp[] = {5106, 5065, 5107, 5109, 5216, 5108};
inline constexpr MessageUse kFavouritesMessages[] = {
    {4001, Reply::kYesNo, true}, {4002, Reply::kYesNo, true}, {4003, Reply::kYesNo, true},
    {4085, Reply::kOk, false},   {4086, Reply::kOk, false},   {4087, Reply::kOk, false},
    {4088, Reply::kOk, false},   {4089, Reply::kOk, false},   {4090, Reply::kOk, false},
    {4091, Reply::kOk, false},   {4092, Reply::kYesNo, false},
};

// ---- Overlay forms page (template 392) -----------------------------------
inline constexpr uint32_t kOverlayPageLabels[] = {4495, 4494, 4498, 4497, 4499, 4500, 4501,
                                                  4502, 4510, 4503, 4506, 4372, 4511};
inline constexpr uint32_t kOverlayPageTexts[] = {5373, 4748, 4760, 4841, 4846, 4847,
                                                 4848, 4849, 4850, 4851, 4887, 4888};
inline constexpr uint32_t kOverlayPageHelp[] = {5146, 5147, 5149, 5156, 5150, 5155,
                                                4889, 5138, 5145, 5151, 5153, 5148};
inline constexpr MessageUse kOverlayPageMessages[] = {
    {4058, Reply::kYesNo, false},
    {4059, Reply::kOk, false},
    {4083, Reply::kOk, false},
};

// ---- Overlay settings dialog (template 387): the page's tables -----------
// and its own option group and buttons.
inline constexpr uint32_t kOverlayDialogLabels[] = {4495, 4494, 4498, 4497, 4500, 4501, 4502,
                                                    4503, 4507, 4508, 4410, 4411, 4412};
inline constexpr MessageUse kOverlayDialogMessages[] = {
    {4065, Reply::kYesNo, true},
    {4083, Reply::kOk, false},
};

// ---- Custom paper checks (callbacks of the custom paper dialog) ----------
inline constexpr MessageUse kCustomPaperMessages[] = {{4003, Reply::kYesNo, true}};

// ---- Custom paper dialog (VQ312CP.dll, its own template) -----------------
inline constexpr uint32_t kCustomPaperLabels[] = {5441, 5451, 4367, 4364, 5443, 5444, 5359,
                                                  5360, 5361, 5362, 5445, 5446, 5447, 5448,
                                                  5449, 5450, 4366, 4359, 4369, 4370};
inline constexpr uint32_t kCustomPaperTexts[] = {5440};

// ---- Cut settings page (template 391) ------------------------------------
inline constexpr uint32_t kCutPageLabels[] = {4385, 4426, 4413, 4414, 4415, 4416,
                                              4417, 4418, 4419, 4372, 4422};
inline constexpr uint32_t kCutPageTexts[] = {5372, 4744, 4420, 4421, 4760};
inline constexpr uint32_t kCutPageHelp[] = {4899, 4894, 4895, 4896, 4897, 4900,
                                            4901, 4902, 4898, 4889, 4892};
inline constexpr MessageUse kCutPageMessages[] = {{4114, Reply::kOk, false}};

// ---- Color page (template 109) -------------------------------------------
inline constexpr uint32_t kColourPageLabels[] = {4428, 4430, 4400, 4401, 4431,
                                                 4432, 4441, 4461, 4429, 4463};
inline constexpr uint32_t kColourPageTexts[] = {5371, 4760};
inline constexpr uint32_t kColourPageHelp[] = {5072, 5073, 5113, 5119, 4889,
                                               5120, 5115, 5117, 5051, 5116};

// ---- Advanced page (template 332) ----------------------------------------
inline constexpr uint32_t kAdvancedPageLabels[] = {4482, 4483, 4484, 4485, 4487, 4490, 4491,
                                                   4509};
inline constexpr uint32_t kAdvancedPageTexts[] = {5374, 4760, 4985, 4986, 4987, 4988, 4989,
                                                  4990, 5012, 5014, 5015, 5016, 5017, 5018,
                                                  5019, 5020, 5022, 5023};
inline constexpr uint32_t kAdvancedPageHelp[] = {5051, 5140, 5134, 5135, 5136, 5137, 5145, 4889};

// ---- Color adjustment dialog (template 8004) -----------------------------
inline constexpr uint32_t kColourDetailLabels[] = {4390, 4391, 4392, 4393, 4394, 4395,
                                                   4436, 4437, 4389, 4428, 4435, 4399,
                                                   4410, 4411, 4412};
inline constexpr uint32_t kColourDetailTexts[] = {4746, 5353, 5354, 5355, 5356};
inline constexpr uint32_t kColourDetailHelp[] = {5123, 5124, 5125, 5126, 5127, 5128, 5074,
                                                 5075, 5072, 5118, 5129, 5225, 5237, 5224};
inline constexpr MessageUse kColourDetailMessages[] = {{4117, Reply::kOk, false}};

// ---- Color replacement dialog (template 8003) and its test chart ---------
inline constexpr uint32_t kReceiptColourLabels[] = {
    4700, 4669, 4670, 4671, 4701, 4675, 4676, 4679, 4677, 4685, 4704, 4705, 4680, 4682,
    4686, 4687, 4688, 4690, 4691, 4692, 4693, 4695, 4694, 4696, 4697, 4698, 4699, 4667};
inline constexpr uint32_t kReceiptColourTexts[] = {4755, 5394, 5395, 5396, 5398, 5399,
                                                   5400, 5404, 5405, 5406, 5410, 5411};
inline constexpr uint32_t kReceiptColourHelp[] = {
    5244, 5245, 5246, 5247, 5248, 5249, 5250, 5251, 5252, 5253, 5254, 5255,
    5256, 5257, 5258, 5259, 5260, 5261, 5262, 5263, 5264, 5265, 5266};
inline constexpr MessageUse kReceiptColourMessages[] = {
    {4021, Reply::kOk, false},    {4026, Reply::kYesNo, false}, {4028, Reply::kYesNo, false},
    {4032, Reply::kYesNo, false}, {4063, Reply::kOk, false},    {4064, Reply::kOk, false},
    {4104, Reply::kOk, false},    {4105, Reply::kYesNo, false},
};

// ---- Custom media type editor (template 402) -----------------------------
inline constexpr uint32_t kMediaEditorLabels[] = {4874, 4875, 4876, 4877, 4879, 4880, 4881,
                                                  4882, 4868, 4870, 4871, 4873, 4878, 4883,
                                                  4884, 4885, 4886};
inline constexpr uint32_t kMediaEditorTexts[] = {4866, 4869, 4860, 4862, 4865};
inline constexpr uint32_t kMediaEditorHelp[] = {5305, 5306, 5307, 5308, 5309, 5310, 5311, 5312,
                                                5313, 5302, 5304, 5314, 5315, 5316, 5317};
inline constexpr MessageUse kMediaEditorMessages[] = {
    {4001, Reply::kYesNo, true},  {4002, Reply::kYesNo, true}, {4003, Reply::kYesNo, true},
    {4060, Reply::kYesNo, true},  {4061, Reply::kYesNo, true}, {4066, Reply::kYesNo, true},
    {4067, Reply::kYesNo, false}, {4085, Reply::kOk, false},   {4086, Reply::kOk, false},
    {4087, Reply::kOk, false},    {4088, Reply::kOk, false},   {4090, Reply::kOk, false},
    {4119, Reply::kOk, false},    {4120, Reply::kOk, false},   {4129, Reply::kOk, false},
    {4131, Reply::kOk, true},
};

// ---- Settings summary dialog (template 396) and the settings list --------
inline constexpr uint32_t kSummaryLabels[] = {4357, 4361};
inline constexpr uint32_t kSummaryTexts[] = {
    4360, 5049, 5050, 4912, 4919, 4913, 4915, 4914, 4916, 4918, 4927, 4930, 4947, 4975,
    4948, 4945, 4953, 4954, 4949, 4958, 4920, 4921, 4922, 4923, 4924, 4925, 4926, 4960,
    4970, 4959, 4971, 4974, 4967, 4968, 4961, 4962, 5365, 5392, 4963, 4964, 5002, 5003,
    5369, 5393, 4999, 5000, 5004, 5005, 4996, 4997, 4991, 4992, 4995, 5014, 5015, 5016,
    5017, 5018, 5019, 5020, 5021, 5022, 5023, 5012, 4993, 5390, 5391, 4733};

// ---- About dialog (template 126) -----------------------------------------
inline constexpr uint32_t kVersionLabels[] = {4733, 4734, 4736, 4737, 4735};
inline constexpr uint32_t kVersionTexts[] = {4749};
inline constexpr MessageUse kVersionMessages[] = {
    {4078, Reply::kOk, false},
    {4079, Reply::kOk, false},
    {4081, Reply::kOk, false},
    {4084, Reply::kOk, false},
};

// ---- Page preview drawing ------------------------------------------------
inline constexpr uint32_t kPreviewTexts[] = {4887, 4888};

// ---- Maintenance page (template 5101) ------------------------------------
inline constexpr uint32_t kUtilityPageLabels[] = {4512, 4514, 4513, 4518, 4519, 4520,
                                                  4521, 4534, 4523, 4524, 4522, 4533,
                                                  4528, 5320, 5319, 4532};
inline constexpr uint32_t kUtilityPageTexts[] = {5375, 4738, 4757, 5346,
                                                 5322, 5323, 5324, 5325};
inline constexpr uint32_t kUtilityPageHelp[] = {5085, 5087, 5086, 5122, 5095, 5096, 5097,
                                                5091, 5102, 5103, 5100, 5279, 5278, 5303};
inline constexpr MessageUse kUtilityPageMessages[] = {
    {4008, Reply::kYesNo, false},       {4009, Reply::kYesNo, false},
    {4015, Reply::kYesNo, false},       {4021, Reply::kOk, false},
    {4022, Reply::kYesNo, false},       {4030, Reply::kYesNo, false},
    {4031, Reply::kYesNo, false},       {4038, Reply::kOk, false},
    {4047, Reply::kOkCancel, false},    {4048, Reply::kOkCancel, false},
    {4049, Reply::kOk, false},          {4050, Reply::kOk, false},
    {4051, Reply::kYesNo, false},       {4052, Reply::kOk, false},
    {4053, Reply::kOk, false},          {4054, Reply::kOk, false},
    {4055, Reply::kOk, false},          {4056, Reply::kOk, false},
    {4057, Reply::kOk, false},          {4068, Reply::kOk, false},
    {4069, Reply::kOk, false},          {4070, Reply::kOk, false},
    {4071, Reply::kOk, false},          {4072, Reply::kOk, false},
    {4077, Reply::kOk, false},          {4078, Reply::kOk, false},
    {4079, Reply::kOk, false},          {4080, Reply::kOk, false},
    {4084, Reply::kOk, false},          {4097, Reply::kOk, false},
    {4098, Reply::kOk, false},          {4099, Reply::kRetryCancel, false},
    {4100, Reply::kOk, false},          {4106, Reply::kOk, false},
    {4107, Reply::kOk, false},          {4108, Reply::kRetryCancel, false},
    {4109, Reply::kOk, false},          {4110, Reply::kOk, false},
    {4116, Reply::kOk, false},          {4122, Reply::kYesNo, false},
    {4128, Reply::kOk, false},
};

// ---- Wait dialog (template 102) ------------------------------------------
inline constexpr uint32_t kWaitDialogLabels[] = {4726};
inline constexpr uint32_t kWaitDialogTexts[] = {4756, 4725, 4727, 4728, 4729, 4730, 4731,
                                                4732, 5327, 5328, 5329, 5343, 5344, 5345,
                                                5347};

// ---- Head position adjustment (template 5110) ----------------------------
inline constexpr uint32_t kHeadAdjustLabels[] = {
    4568, 4544, 4545, 4570, 4571, 4572, 4573, 4574, 4576, 4577, 4578, 4579, 4580,
    4546, 4548, 4552, 4556, 4547, 4549, 4553, 4557, 4564, 4565, 4566, 4567, 4569, 4575, 5141};
inline constexpr uint32_t kHeadAdjustTexts[] = {4739, 4558, 4559, 4560, 4561, 4562, 4563};
inline constexpr uint32_t kHeadAdjustHelp[] = {5195, 5196, 5213, 5214, 5197, 5198, 5199, 5200,
                                               5203, 5204, 5210, 5211, 5209, 5212, 5215, 5224};
inline constexpr MessageUse kHeadAdjustMessages[] = {
    {4012, Reply::kYesNo, false}, {4013, Reply::kYesNo, false}, {4014, Reply::kYesNo, false},
    {4018, Reply::kOk, false},    {4019, Reply::kYesNo, false}, {4021, Reply::kOk, false},
    {4078, Reply::kOk, false},    {4079, Reply::kOk, false},    {4081, Reply::kOk, false},
};

// ---- Detailed head position adjustment (template 5111) -------------------
inline constexpr uint32_t kDetailedHeadAdjustLabels[] = {4592, 4593, 4594, 4595, 4596, 4597,
                                                         4598, 4599, 4588, 4589, 4590, 4591,
                                                         5143};
inline constexpr uint32_t kDetailedHeadAdjustTexts[] = {4740, 4582, 4583, 4584,
                                                        4585, 4586, 4587};
inline constexpr MessageUse kDetailedHeadAdjustMessages[] = {
    {4012, Reply::kYesNo, false}, {4013, Reply::kYesNo, false}, {4018, Reply::kOk, false},
    {4019, Reply::kYesNo, false}, {4021, Reply::kOk, false},    {4029, Reply::kYesNo, false},
    {4078, Reply::kOk, false},    {4079, Reply::kOk, false},    {4081, Reply::kOk, false},
};

// ---- Special settings (template 5117) ------------------------------------
inline constexpr uint32_t kSpecialSettingsLabels[] = {4638, 4647, 4663, 4664, 4665,
                                                      4640, 4645, 4646, 4661, 4637,
                                                      4662, 4656, 4658, 4659, 4657};
inline constexpr uint32_t kSpecialSettingsTexts[] = {4741};
inline constexpr uint32_t kSpecialSettingsHelp[] = {5172, 5185, 5175, 5179, 5180, 5171,
                                                    5189, 5184, 5163, 5194, 5224};
inline constexpr MessageUse kSpecialSettingsMessages[] = {
    {4017, Reply::kYesNo, false}, {4021, Reply::kOk, false}, {4036, Reply::kOk, false},
    {4078, Reply::kOk, false},    {4093, Reply::kYesNo, false},
};

// ---- Cutter position (template 375) --------------------------------------
inline constexpr uint32_t kCutterPositionLabels[] = {4624, 4625, 4626, 4628, 4627,
                                                     4629, 4633, 4634, 4635, 4636};
inline constexpr uint32_t kCutterPositionTexts[] = {4753, 4887, 4888};
inline constexpr uint32_t kCutterPositionHelp[] = {5165, 5166, 5145, 5163, 5164, 5224};
inline constexpr MessageUse kCutterPositionMessages[] = {
    {4017, Reply::kYesNo, false},
    {4021, Reply::kOk, false},
    {4078, Reply::kOk, false},
};

// ---- Sleep timer (template 279) ------------------------------------------
inline constexpr uint32_t kSleepTimerLabels[] = {4605, 4608, 4606, 4611, 4610, 4609,
                                                 4607, 4612, 4613, 4614, 4615};
inline constexpr uint32_t kSleepTimerTexts[] = {4751};
inline constexpr uint32_t kSleepTimerHelp[] = {5157, 5158, 5098, 5163, 5099, 5224};
inline constexpr MessageUse kSleepTimerMessages[] = {
    {4016, Reply::kYesNo, false},
    {4021, Reply::kOk, false},
    {4078, Reply::kOk, false},
};

// ---- Printer information output choice (template 393) and its report ---
inline constexpr uint32_t kPrinterReportLabels[] = {5600, 5601, 5602, 5603, 5604, 5605};
inline constexpr uint32_t kPrinterReportTexts[] = {5606, 5607, 5608, 5610, 5611, 5612, 5613,
                                                   5614, 5615, 5616, 5617, 5618, 5619, 5620,
                                                   5621, 5622, 5623, 5624, 5625, 5626, 5627};

// ---- Printer access check, wherever it runs ------------------------------
inline constexpr uint16_t kNeedsAdminRightsMessage = 4080;
inline constexpr MessageUse kAccessCheckMessages[] = {{kNeedsAdminRightsMessage, Reply::kOk, false}};

// ---- Texts that are formats ----------------------------------------------
inline constexpr FormatText kFormatTexts[] = {
    {5344, "dd"},       {5345, "d"},    {5347, "dd"},   {5367, "dddddddd"},
    {5368, "ss"},       {5369, "dddd"}, {5393, "dddd"}, {5534, "ss"},
};

// Formats that a caller may cut before their first ASCII "(".
inline constexpr uint32_t kCutAtParenthesisTexts[] = {5344, 5347};

// ---- Every page and dialog, for the tests that walk them -----------------
struct DialogTexts {
  const char* name;
  std::span<const uint32_t> labels;
  std::span<const uint32_t> texts;
  std::span<const uint32_t> help;
  std::span<const MessageUse> messages;
};

inline constexpr DialogTexts kDialogs[] = {
    {"property sheets", {}, kSheetTitleTexts, {}, {}},
    {"settings names", {}, kSettingsNameTexts, {}, {}},
    {"message boxes", {}, kMessageCaptionTexts, {}, {}},
    {"basic settings page", kBasicPageLabels, kBasicPageTexts, kBasicPageHelp,
     kBasicPageMessages},
    {"favorites dialog", kFavouritesLabels, kFavouritesTexts, kFavouritesHelp,
     kFavouritesMessages},
    {"overlay forms page", kOverlayPageLabels, kOverlayPageTexts, kOverlayPageHelp,
     kOverlayPageMessages},
    {"overlay settings dialog", kOverlayDialogLabels, kOverlayPageTexts, kOverlayPageHelp,
     kOverlayDialogMessages},
    {"custom paper checks", {}, {}, {}, kCustomPaperMessages},
    {"custom paper dialog", kCustomPaperLabels, kCustomPaperTexts, {}, {}},
    {"cut settings page", kCutPageLabels, kCutPageTexts, kCutPageHelp, kCutPageMessages},
    {"color page", kColourPageLabels, kColourPageTexts, kColourPageHelp, {}},
    {"advanced page", kAdvancedPageLabels, kAdvancedPageTexts, kAdvancedPageHelp, {}},
    {"color adjustment dialog", kColourDetailLabels, kColourDetailTexts, kColourDetailHelp,
     kColourDetailMessages},
    {"color replacement dialog", kReceiptColourLabels, kReceiptColourTexts,
     kReceiptColourHelp, kReceiptColourMessages},
    {"custom media type editor", kMediaEditorLabels, kMediaEditorTexts, kMediaEditorHelp,
     kMediaEditorMessages},
    {"settings summary dialog", kSummaryLabels, kSummaryTexts, {}, {}},
    {"about dialog", kVersionLabels, kVersionTexts, {}, kVersionMessages},
    {"page preview", {}, kPreviewTexts, {}, {}},
    {"maintenance page", kUtilityPageLabels, kUtilityPageTexts, kUtilityPageHelp,
     kUtilityPageMessages},
    {"wait dialog", kWaitDialogLabels, kWaitDialogTexts, {}, {}},
    {"head position adjustment", kHeadAdjustLabels, kHeadAdjustTexts, kHeadAdjustHelp,
     kHeadAdjustMessages},
    {"detailed head position adjustment", kDetailedHeadAdjustLabels, kDetailedHeadAdjustTexts,
     {}, kDetailedHeadAdjustMessages},
    {"special settings", kSpecialSettingsLabels, kSpecialSettingsTexts, kSpecialSettingsHelp,
     kSpecialSettingsMessages},
    {"cutter position", kCutterPositionLabels, kCutterPositionTexts, kCutterPositionHelp,
     kCutterPositionMessages},
    {"sleep timer", kSleepTimerLabels, kSleepTimerTexts, kSleepTimerHelp, kSleepTimerMessages},
    {"printer access check", {}, {}, {}, kAccessCheckMessages},
    {"printer information report", kPrinterReportLabels, kPrinterReportTexts, {}, {}},
};

}  // namespace vq::text_ids

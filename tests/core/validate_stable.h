// The property every test of the job settings record leans on: a record that
// ValidateJobSettings accepts comes out of a second validation byte for byte
// the same. Header-only so the fuzzer, which has no GoogleTest, can share
// test_printer.cpp.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "settings/job_settings.h"

namespace vq::test {

inline bool ValidateStable(JobSettings* js, PrinterStore* printer, const DriverServices& svc) {
  if (!ValidateJobSettings(js, printer, svc)) return false;
  JobSettings again = *js;
  EXPECT_TRUE(ValidateJobSettings(&again, printer, svc)) << "an accepted record was refused";
  EXPECT_EQ(0, std::memcmp(&again, js, sizeof again)) << "a second validation changed the record";
  return true;
}

}  // namespace vq::test

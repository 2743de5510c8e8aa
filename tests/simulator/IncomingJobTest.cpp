// SPDX-License-Identifier: MIT
#include "simulator/IncomingJob.h"

#include <gtest/gtest.h>

#include "text/TextHelpers.h"

namespace qm {
namespace {

TEST(IsUplinkReport, QuotedWordsAnywhere) {
  const std::pair<std::string_view, bool> cases[] = {
      {R"({"code":0})", true},
      {R"({"scan_content":"x"})", true},
      {R"({"pay_code":"x"})", true},
      {R"({"iccid":"x"})", true},
      {R"({"msg":"say \"code\""})", false},  // escaped quotes are not double quotes around it
      {R"({"msg":"code","x":"\"iccid\""})", true},
      {R"({"type":5,"code":0})", false},
      {R"({"x":"type","code":0})", false},
      {R"({"code_x":0,"Code":1})", false},
      {R"({"id":1})", false},
  };
  for (const auto& [payload, report] : cases) {
    EXPECT_EQ(IsUplinkReport(payload), report) << payload;
  }
}

// Accepted and repeated jobs: on their road in tests/ui/SimTrafficTest.cpp.
TEST(ProcessIncomingJob, SummaryLineInEveryFormAndTheAcknowledgement) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {R"({"id":8,"type":-2147483647,"message":"m"})",
       "id=8 (valid range 0-4294967295), type=-2147483647, contents=no, message=yes -> code=203 "
       "(invalid type (allowed: 1,2,3,4,5,6,99,100))"},
      {R"({"id":4294967295})", "id=4294967295, type=missing -> code=202 (missing type)"},
      {R"({"id":4294967296,"type":1})",
       "invalid id (require uint32 integer in 0-4294967295), "
       "value out of range -> code=201 (missing/invalid id (valid range 0-4294967295))"},
      {R"({"type":1})",
       "invalid id (require uint32 integer in 0-4294967295) -> code=201 "
       "(missing/invalid id (valid range 0-4294967295))"},
      {"[1]", "invalid JSON object."},
  };
  TaskIdHistory history;
  for (const auto& [payload, summary] : cases) {
    EXPECT_EQ(WideToUtf8(ProcessIncomingJob(payload, "P1", history).summary),
              "Task parse: " + std::string(summary));
  }
  EXPECT_EQ(ProcessIncomingJob(R"({"id":9,"type":9})", "P1", history).ack,
            R"({"devicename":"P1","id":9,"code":203})");
  EXPECT_EQ(ProcessIncomingJob(R"({"id":1.5})", "P1", history).ack,
            R"({"devicename":"P1","id":0,"code":201})");
  const IncomingJob report = ProcessIncomingJob(R"({"devicename":"P1","code":0})", "P1", history);
  EXPECT_TRUE(report.uplinkReport && report.summary.empty() && report.ack.empty());
}

}  // namespace
}  // namespace qm

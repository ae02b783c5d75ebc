// The freshness rules at start-up over a fake machine: files with time texts, folders, the
// settings store and a division that writes the payload with fresh times.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "startup/extraction_rules.h"

namespace startup_test {
namespace {

using startup::ExtractReason;

const std::wstring kTarget = L"C:\\Temp\\";
const std::wstring kTool = L"rmevents.exe";
const std::wstring kProgram = L"C:\\Apps\\Quellin.exe";

class FakeMachine final : public startup::ExtractionHost {
 public:
  FakeMachine() { files[kProgram] = L"2024/6/1 9:00:00"; }

  bool IsFile(const std::wstring& path) override { return files.contains(path); }

  std::optional<std::wstring> FileTimeText(const std::wstring& path) override {
    const auto file = files.find(path);
    if (file == files.end() || unreadableTimes.contains(path)) return std::nullopt;
    return file->second;
  }

  std::wstring ReadSetting(const std::wstring& application, std::wstring_view section,
                           std::wstring_view key, std::wstring_view defaultValue) override {
    const auto found = settings.find(SettingName(application, section, key));
    return found == settings.end() ? std::wstring(defaultValue) : found->second;
  }

  void SaveSetting(const std::wstring& application, std::wstring_view section,
                   std::wstring_view key, std::wstring_view value) override {
    ++settingWrites;
    settings[SettingName(application, section, key)] = value;
  }

  // Writes every payload name the program file carries, each with a time of its own; a folder in
  // the way cannot be replaced.
  bool DividePayload(const std::wstring& programFile, const std::wstring& targetDir) override {
    ++divisions;
    dividedFrom = programFile;
    if (payloadNames.empty()) return false;
    for (const std::wstring& name : payloadNames) {
      if (folders.contains(targetDir + name) || locked.contains(targetDir + name)) return false;
      files[targetDir + name] = L"2024/6/7 10:00:" + std::to_wstring(10 + divisions);
    }
    return true;
  }

  static std::wstring SettingName(std::wstring_view application, std::wstring_view section,
                                  std::wstring_view key) {
    return std::wstring(application) + L"|" + std::wstring(section) + L"|" + std::wstring(key);
  }
  std::wstring Record(std::wstring_view key, std::wstring_view application = L"QXPW_Quellin") {
    return ReadSetting(std::wstring(application), L"Date", key, L"(none)");
  }

  std::map<std::wstring, std::wstring> files;  // path -> date-time text
  std::set<std::wstring> folders;
  std::set<std::wstring> locked;  // files a running program holds: they cannot be replaced
  std::set<std::wstring> unreadableTimes;
  std::map<std::wstring, std::wstring> settings;
  std::vector<std::wstring> payloadNames = {kTool};
  int divisions = 0;
  int settingWrites = 0;
  std::wstring dividedFrom;
};

bool Start(FakeMachine& machine, const std::wstring& program = kProgram) {
  return startup::AutoExtract(machine, kTarget, {kTool}, program);
}

TEST(AutoExtract, FirstStartExtractsAndRecordsSecondStartDoesNothing) {
  FakeMachine machine;
  EXPECT_TRUE(Start(machine));
  EXPECT_EQ(machine.divisions, 1);
  EXPECT_EQ(machine.dividedFrom, kProgram);
  EXPECT_EQ(machine.Record(kTool), machine.files[kTarget + kTool]);
  EXPECT_EQ(machine.Record(L"主程序"), L"2024/6/1 9:00:00");
  EXPECT_EQ(machine.settingWrites, 2);

  EXPECT_FALSE(Start(machine));
  EXPECT_EQ(machine.divisions, 1) << "an up-to-date start divides nothing";
  EXPECT_EQ(machine.settingWrites, 2) << "and writes nothing";
}

TEST(AutoExtract, EachRuleFiresOnItsOwn) {
  FakeMachine machine;
  ASSERT_TRUE(Start(machine));
  const std::wstring tool = kTarget + kTool;
  const auto reason = [&] {
    return startup::FindExtractReason(machine, kTarget, {kTool}, kProgram);
  };
  ASSERT_EQ(reason(), ExtractReason::kUpToDate);

  const std::wstring toolTime = machine.files[tool];
  machine.files.erase(tool);
  EXPECT_EQ(reason(), ExtractReason::kMissingFile);
  machine.files[tool] = L"2024/6/7 11:00:00";
  EXPECT_EQ(reason(), ExtractReason::kChangedFile);
  machine.files[tool] = toolTime;
  machine.unreadableTimes.insert(tool);
  EXPECT_EQ(reason(), ExtractReason::kChangedFile) << "a failed check counts as changed";
  machine.unreadableTimes.clear();

  machine.files[kProgram] = L"2024/6/8 9:00:00";
  EXPECT_EQ(reason(), ExtractReason::kChangedProgram);
  EXPECT_TRUE(Start(machine)) << "with the tool present and unchanged";
  EXPECT_EQ(machine.divisions, 2);
  EXPECT_EQ(machine.Record(L"主程序"), L"2024/6/8 9:00:00");
  machine.unreadableTimes.insert(kProgram);
  EXPECT_EQ(reason(), ExtractReason::kChangedProgram);
}

TEST(AutoExtract, DeletedOrTouchedToolIsExtractedAgain) {
  FakeMachine machine;
  ASSERT_TRUE(Start(machine));
  machine.files.erase(kTarget + kTool);
  EXPECT_TRUE(Start(machine));
  EXPECT_TRUE(machine.files.contains(kTarget + kTool));
  machine.files[kTarget + kTool] = L"1999/1/1 0:00:00";
  EXPECT_TRUE(Start(machine));
  EXPECT_EQ(machine.Record(kTool), machine.files[kTarget + kTool]);
  EXPECT_FALSE(Start(machine));
  EXPECT_EQ(machine.divisions, 3);
}

TEST(AutoExtract, NameTheDivisionDidNotProduceKeepsItsOldRecord) {
  FakeMachine machine;
  machine.settings[FakeMachine::SettingName(L"QXPW_Quellin", L"Date", kTool)] = L"old";
  // A folder of the tool's name counts as missing, and the division cannot replace it.
  machine.folders.insert(kTarget + kTool);
  EXPECT_TRUE(Start(machine));
  EXPECT_EQ(machine.Record(kTool), L"old");
  EXPECT_EQ(machine.Record(L"主程序"), L"(none)");
  EXPECT_TRUE(Start(machine)) << "every start tries again";
  EXPECT_EQ(machine.divisions, 2);

  // A container that carries no tool at all behaves the same.
  machine.folders.clear();
  machine.payloadNames.clear();
  EXPECT_TRUE(Start(machine));
  EXPECT_TRUE(Start(machine));
  EXPECT_EQ(machine.Record(kTool), L"old");
}

TEST(AutoExtract, ToolThatCouldNotBeReplacedIsTriedAgainNextStart) {
  FakeMachine machine;
  EXPECT_TRUE(Start(machine));
  const std::wstring oldTool = machine.files[kTarget + kTool];
  // A new build of the program, while a run of the old one holds its tool.
  machine.files[kProgram] = L"2024/7/1 9:00:00";
  machine.locked.insert(kTarget + kTool);
  EXPECT_TRUE(Start(machine));
  EXPECT_EQ(machine.files[kTarget + kTool], oldTool);
  EXPECT_EQ(machine.Record(L"主程序"), L"2024/6/1 9:00:00");
  machine.locked.clear();
  EXPECT_TRUE(Start(machine)) << "the stale tool is replaced once it is free";
  EXPECT_NE(machine.files[kTarget + kTool], oldTool);
  EXPECT_FALSE(Start(machine));
}

TEST(AutoExtract, ProgramNamesKeepSeparateRecords) {
  FakeMachine machine;
  const std::wstring copy = L"C:\\Apps\\Quellin copy.exe";
  const std::wstring sameName = L"D:\\Other\\Quellin.exe";
  machine.files[copy] = L"2024/6/2 9:00:00";
  machine.files[sameName] = L"2024/6/1 9:00:00";
  ASSERT_TRUE(Start(machine));
  EXPECT_TRUE(Start(machine, copy)) << "no records yet under the copy's name";
  EXPECT_EQ(machine.Record(L"主程序", L"QXPW_Quellin copy"), L"2024/6/2 9:00:00");
  EXPECT_EQ(machine.Record(L"主程序"), L"2024/6/1 9:00:00");
  // The tool was divided again by the copy, so the first program's tool record is stale now.
  EXPECT_TRUE(Start(machine));
  EXPECT_FALSE(Start(machine, sameName)) << "the same file name shares the records";
}

TEST(SettingsApplication, IsPrefixedProgramName) {
  EXPECT_EQ(startup::SettingsApplication(L"C:\\Apps\\tool.exe"), L"QXPW_tool");
}

}  // namespace
}  // namespace startup_test

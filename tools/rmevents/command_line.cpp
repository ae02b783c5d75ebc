#include "command_line.h"

namespace rmevents {

namespace {

// The switch letter of an argument such as "-i" or "-I"; 0 when it is not a one-letter switch.
char SwitchLetter(const NativeString& arg) {
  if (arg.size() != 2 || arg[0] != '-') return 0;
  const auto c = arg[1];
  if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
  if ((c >= 'a' && c <= 'z') || c == '?') return static_cast<char>(c);
  return 0;
}

bool IsHelp(const NativeString& arg) {
  static const NativeString kForms[] = {NativeString{'-', '?'}, NativeString{'/', '?'},
                                        NativeString{'-', 'h'}, NativeString{'-', 'H'},
                                        NativeString{'-', '-', 'h', 'e', 'l', 'p'}};
  for (const NativeString& form : kForms) {
    if (arg == form) return true;
  }
  return false;
}

std::string Shown(const NativeString& arg) {
  const auto text = Path(arg).u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace

ParseOutcome ParseCommandLine(const std::vector<NativeString>& args, Options& options,
                              std::string& problem) {
  options = Options{};
  problem.clear();
  for (const NativeString& arg : args) {
    if (IsHelp(arg)) {
      options.mode = Mode::kHelp;
      return ParseOutcome::kOk;
    }
  }
  Path* slots[26] = {};
  slots['i' - 'a'] = &options.input;
  slots['o' - 'a'] = &options.output;
  slots['e' - 'a'] = &options.events;
  slots['d' - 'a'] = &options.dumpName;
  bool seen[26] = {};
  for (std::size_t i = 0; i < args.size(); ++i) {
    const char letter = SwitchLetter(args[i]);
    if (letter == 'm') return ParseOutcome::kDeclinedImageMaps;
    if (letter < 'a' || letter > 'z' || slots[letter - 'a'] == nullptr) {
      problem = "无法识别的参数“" + Shown(args[i]) + "”";
      return ParseOutcome::kUsageError;
    }
    const std::size_t slot = static_cast<std::size_t>(letter - 'a');
    if (seen[slot]) {
      problem = std::string("选项 -") + letter + " 出现了两次";
      return ParseOutcome::kUsageError;
    }
    if (i + 1 == args.size() || args[i + 1].empty()) {
      problem = std::string("选项 -") + letter + " 后面缺少文件名";
      return ParseOutcome::kUsageError;
    }
    seen[slot] = true;
    *slots[slot] = Path(args[++i]);
  }
  const bool in = seen['i' - 'a'], out = seen['o' - 'a'], ev = seen['e' - 'a'],
             dump = seen['d' - 'a'];
  if (!in) {
    problem = args.empty() ? "没有给出任何参数" : "缺少输入文件（-i）";
    return ParseOutcome::kUsageError;
  }
  if (dump && (out || ev)) {
    problem = "-d（导出）不能与 -o、-e 一起使用";
    return ParseOutcome::kUsageError;
  }
  if (dump) {
    options.mode = Mode::kDump;
    return ParseOutcome::kOk;
  }
  if (!out || !ev) {
    problem = out ? "缺少事件文件（-e）" : "缺少输出文件（-o）";
    return ParseOutcome::kUsageError;
  }
  options.mode = Mode::kReplace;
  return ParseOutcome::kOk;
}

const char* UsageText() {
  return "用法：\n"
         "  rmevents -i 输入文件 -o 输出文件 -e 事件文件\n"
         "      用事件文件中的事件替换输入文件中的全部事件，写出输出文件（输入文件保持不变）。\n"
         "      事件文件中没有事件行时，输出文件不含任何事件。\n"
         "  rmevents -i 输入文件 -d 名称\n"
         "      把输入文件中的事件导出到“名称_evt.txt”，格式与事件文件相同，可再用 -e 读回。\n"
         "  rmevents -?\n"
         "      显示本说明。\n"
         "\n"
         "事件文件每行一个事件：类型 开始时间 结束时间 文本\n"
         "  类型：u = URL（代码 0x0020），i = 标题（0x0021），a = 作者（0x0022），\n"
         "        c = 版权（0x0023），xHHHH = 其他类型代码（十六进制，导出时原样保留）。\n"
         "        i、a、c 的代码是本工具自己的选择。\n"
         "  时间：[[[天:]时:]分:]秒[.十分之一秒]，例如 00:01:05.5\n"
         "  空行、以 # 开头的行、第一个词是 rem 的行不含事件。\n"
         "  事件须按开始时间排列。\n"
         "\n"
         "本工具不处理图像映射（-m）。\n"
         "\n"
         "每次运行先删除之前留下的输出文件和“输出文件.part”，再读取任何文件；\n"
         "因此运行结束后存在的输出文件一定是这次写出的。\n"
         "\n"
         "环境变量 RMEVENTS_UNCHANGED=skip：输入文件没有事件流、事件文件也没有事件时，\n"
         "  只读取文件头，不写出输出文件，退出代码为 9（没有要改动的内容）。\n"
         "  未设置或为其他值时，这样的文件照常写出逐字节相同的副本。\n"
         "\n"
         "退出代码：\n"
         "  0 成功\n"
         "  1 命令行用法错误\n"
         "  2 无法打开或读取输入文件\n"
         "  3 输入文件不是 RealMedia 文件、已损坏或结构不受支持\n"
         "  4 无法读取事件文件，或事件文件有错误\n"
         "  5 无法写出输出文件（包括输入与输出是同一个文件）\n"
         "  6 不支持的功能（-m 图像映射）\n"
         "  7 写出的文件未通过校验（已删除，未留下输出文件）\n"
         "  8 内存不足或程序内部错误（未留下输出文件）\n"
         "  9 文件中没有事件，未改动，未写出输出文件（仅在 RMEVENTS_UNCHANGED=skip 时）\n"
         "  10 成功，但修复了输入文件的问题（文件不完整，或索引已重建）\n";
}

}  // namespace rmevents

#include "rm/error.h"

#include <utility>

namespace rm {

void Error::Set(ErrorCode newCode, std::uint64_t atOffset, std::string context) {
  if (code != ErrorCode::kNone) return;
  code = newCode;
  offset = atOffset;
  what = std::move(context);
}

namespace {

const char* Phrase(ErrorCode code) {
  switch (code) {
    case ErrorCode::kNone:
      return "没有错误";
    case ErrorCode::kReadFailed:
      return "读取文件失败";
    case ErrorCode::kWriteFailed:
      return "写入文件失败";
    case ErrorCode::kTruncated:
      return "文件不完整，提前结束";
    case ErrorCode::kNotRealMedia:
      return "不是 RealMedia 文件（开头没有 .RMF 块）";
    case ErrorCode::kOverrun:
      return "大小超出了所在的范围";
    case ErrorCode::kBadField:
      return "字段的值无效";
    case ErrorCode::kBadPacket:
      return "数据包头无效";
    case ErrorCode::kBadChain:
      return "块之间的链接无效（指向错误位置或形成循环）";
    case ErrorCode::kBadIndex:
      return "索引记录没有指向对应的数据包";
    case ErrorCode::kBadStreamNumber:
      return "流编号无效";
    case ErrorCode::kMissingChunk:
      return "缺少必需的块";
    case ErrorCode::kTooLarge:
      return "数量或大小超出了本工具的处理范围";
    case ErrorCode::kOutputTooLarge:
      return "写出的文件会超过 4 GiB，RealMedia 的 32 位偏移放不下";
    case ErrorCode::kUnsupported:
      return "不支持的文件结构";
    case ErrorCode::kNoStreamsLeft:
      return "去掉事件流后不会剩下任何音视频流";
    case ErrorCode::kVerifyFailed:
      return "写出的文件未通过校验";
  }
  return "未知错误";
}

}  // namespace

std::string Describe(const Error& error) {
  std::string text = Phrase(error.code);
  if (!error.what.empty()) text += "（" + error.what + "）";
  // A failed check of the written file quotes the inner description, which has its own offset;
  // a failure on the output side has no place in the input to point at.
  if (error.code != ErrorCode::kNone && error.code != ErrorCode::kNoStreamsLeft &&
      error.code != ErrorCode::kVerifyFailed && !IsOutputError(error)) {
    text += "，位置：第 " + std::to_string(error.offset) + " 字节";
  }
  return text;
}

bool IsOutputError(const Error& error) {
  return error.code == ErrorCode::kWriteFailed || error.code == ErrorCode::kOutputTooLarge;
}

}  // namespace rm

#include "rm/logical_stream.h"

#include "rm/byte_cursor.h"

namespace rm {

bool ParseLogicalStream(std::span<const std::uint8_t> typeSpecific, std::uint64_t baseOffset,
                        LogicalStream& out, Error& error) {
  ByteCursor in(typeSpecific, baseOffset, error, "logical stream");
  out = LogicalStream{};
  in.U32();  // its own size: not needed, the MDPR already bounds the data
  const std::uint16_t version = in.U16();
  if (in.Ok() && version != 0) {
    in.Fail(ErrorCode::kUnsupported, "logical stream version " + std::to_string(version));
    return false;
  }
  const std::uint16_t numPhysical = in.U16();
  // Each count is checked against what is left before anything is reserved.
  if (in.Ok() && std::size_t{numPhysical} * 6 > in.Remaining()) {
    in.Fail(ErrorCode::kOverrun, "logical stream num_physical_streams");
    return false;
  }
  out.physicalAt = in.Position();
  for (std::uint16_t i = 0; i < numPhysical && in.Ok(); ++i)
    out.physicalStreams.push_back(in.U16());
  out.dataOffsetsAt = in.Position();
  for (std::uint16_t i = 0; i < numPhysical && in.Ok(); ++i) out.dataOffsets.push_back(in.U32());
  const std::uint16_t numRules = in.U16();
  if (in.Ok() && std::size_t{numRules} * 2 > in.Remaining()) {
    in.Fail(ErrorCode::kOverrun, "logical stream num_rules");
    return false;
  }
  out.ruleStreamsAt = in.Position();
  for (std::uint16_t i = 0; i < numRules && in.Ok(); ++i) out.ruleStreams.push_back(in.U16());
  return in.Ok();
}

void StoreLogicalStream(const LogicalStream& stream, Bytes& typeSpecific) {
  for (std::size_t i = 0; i < stream.physicalStreams.size(); ++i) {
    SetU16(typeSpecific.data() + stream.physicalAt + 2 * i, stream.physicalStreams[i]);
    SetU32(typeSpecific.data() + stream.dataOffsetsAt + 4 * i, stream.dataOffsets[i]);
  }
  for (std::size_t i = 0; i < stream.ruleStreams.size(); ++i) {
    SetU16(typeSpecific.data() + stream.ruleStreamsAt + 2 * i, stream.ruleStreams[i]);
  }
}

}  // namespace rm

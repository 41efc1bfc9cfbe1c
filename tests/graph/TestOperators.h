#pragma once
// Operators that exist only in the tests: registered under names no document uses.

#include "graph/Operator.h"

namespace orvane::testing {

// "TestCounter": output "Count" returns how often it has been evaluated; input "In" is read first.
class CounterOp final : public Operator {
public:
  CounterOp();
  int evaluations() const;
};

// "TestEcho": an input and an output that share the name "Echo".
class EchoOp final : public Operator {
public:
  EchoOp();
};

// "TestGroup": like a scene group, evaluates every source of its input "Members", in order.
class GroupTestOp final : public Operator {
public:
  GroupTestOp();
};

}  // namespace orvane::testing

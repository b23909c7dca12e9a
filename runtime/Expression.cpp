#include "runtime/Expression.h"

#include <stdexcept>
#include <vector>

#include "runtime/ExpressionError.h"
#include "runtime/ExpressionParser.h"

namespace dv {
namespace {

void bindNames(ExpressionNode& node, std::string_view text, const NameResolver& names) {
    for (auto& operand : node.operands) bindNames(*operand, text, names);
    if (node.kind != ExpressionNode::Kind::Name) return;
    try {
        node.source = names.resolve(node.name);
    } catch (const std::invalid_argument& refused) {
        throw ExpressionError::at(text, node.offset, refused.what());
    }
    if (!node.source) throw ExpressionError::at(text, node.offset, "unknown name " + node.name);
    node.type = node.source->kind();
}

ExpressionValue callFunction(const ExpressionNode& node) {
    std::vector<ExpressionValue> arguments;
    arguments.reserve(node.operands.size());
    for (std::size_t i = 0; i < node.operands.size(); ++i)
        arguments.push_back(
            convertArgument(parameterKind(*node.function, i), evaluateNode(*node.operands[i])));
    return node.function->call(arguments);
}

bool anyTrue(const ExpressionNode& node) {
    for (const auto& operand : node.operands)
        if (evaluateNode(*operand).isTrue()) return true;
    return false;
}

bool allTrue(const ExpressionNode& node) {
    for (const auto& operand : node.operands)
        if (!evaluateNode(*operand).isTrue()) return false;
    return true;
}

}  // namespace

Expression Expression::compile(std::string_view text, const NameResolver& names) {
    std::unique_ptr<ExpressionNode> root = parseExpression(text);
    bindNames(*root, text, names);
    return Expression(std::string(text), std::move(root));
}

ExpressionValue Expression::evaluate() const {
    return evaluateNode(*root_);
}

ExpressionValue evaluateNode(const ExpressionNode& node) {
    switch (node.kind) {
        case ExpressionNode::Kind::Literal:
            return node.literal;
        case ExpressionNode::Kind::Name:
            return node.source->read();
        case ExpressionNode::Kind::Call:
            return callFunction(node);
        case ExpressionNode::Kind::Negate:
            return ExpressionValue::number(-evaluateNode(*node.operands[0]).toNumber());
        case ExpressionNode::Kind::Not:
            return ExpressionValue::truth(!evaluateNode(*node.operands[0]).isTrue());
        case ExpressionNode::Kind::Compare:
            return ExpressionValue::truth(compareValues(evaluateNode(*node.operands[0]), node.op,
                                                        evaluateNode(*node.operands[1])));
        case ExpressionNode::Kind::And:
            return ExpressionValue::truth(allTrue(node));
        case ExpressionNode::Kind::Or:
            return ExpressionValue::truth(anyTrue(node));
    }
    return {};
}

std::string quoteExpressionText(std::string_view text) {
    std::string quoted = "'";
    for (const char c : text) {
        if (c == '\'') quoted += '\'';
        quoted += c;
    }
    return quoted + "'";
}

}  // namespace dv

# SPDX-FileCopyrightText: The Varno authors
# SPDX-License-Identifier: GPL-3.0-or-later

"""Evaluates the closed-form formulas of the case file.

A formula is plain arithmetic: numbers, the case's variables, + - * / and ^
(power), parentheses, and the functions sqrt, sin, cos and the constant pi.
The text is parsed into Python's syntax tree and only those nodes are
evaluated, so a formula can never run code.
"""

import ast
import math
import operator

_BINARY = {
    ast.Add: operator.add,
    ast.Sub: operator.sub,
    ast.Mult: operator.mul,
    ast.Div: operator.truediv,
    ast.Pow: operator.pow,
}
_UNARY = {ast.UAdd: operator.pos, ast.USub: operator.neg}
_FUNCTIONS = {"sqrt": math.sqrt, "sin": math.sin, "cos": math.cos}
_CONSTANTS = {"pi": math.pi}


class FormulaError(ValueError):
    """A formula that does not evaluate; the message says why."""


def evaluate(text, variables):
    """The value of formula `text` with the given variables (name -> float)."""
    if not isinstance(text, str):
        raise FormulaError(f"formula {text!r} is not a text")
    try:
        tree = ast.parse(text.replace("^", "**"), mode="eval")
    except SyntaxError:
        raise FormulaError(f"formula '{text}' cannot be read") from None
    try:
        value = _value(tree.body, variables)
    except ZeroDivisionError:
        raise FormulaError(f"formula '{text}' divides by zero") from None
    except (OverflowError, ValueError) as error:
        if isinstance(error, FormulaError):
            raise FormulaError(f"formula '{text}': {error}") from None
        raise FormulaError(f"formula '{text}' has no finite value") from None
    if not math.isfinite(value):
        raise FormulaError(f"formula '{text}' has no finite value")
    return value


def _value(node, variables):
    if isinstance(node, ast.Constant) and type(node.value) in (int, float):
        return float(node.value)
    if isinstance(node, ast.Name):
        if node.id in variables:
            return float(variables[node.id])
        if node.id in _CONSTANTS:
            return _CONSTANTS[node.id]
        raise FormulaError(f"unknown name '{node.id}'")
    if isinstance(node, ast.BinOp) and type(node.op) in _BINARY:
        return _BINARY[type(node.op)](_value(node.left, variables), _value(node.right, variables))
    if isinstance(node, ast.UnaryOp) and type(node.op) in _UNARY:
        return _UNARY[type(node.op)](_value(node.operand, variables))
    if (isinstance(node, ast.Call) and isinstance(node.func, ast.Name) and node.func.id in _FUNCTIONS
            and len(node.args) == 1 and not node.keywords):
        return _FUNCTIONS[node.func.id](_value(node.args[0], variables))
    raise FormulaError(f"'{ast.unparse(node)}' is not plain arithmetic")

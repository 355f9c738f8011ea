#pragma once

#include <functional>
#include <set>

namespace engine {

// The window's check boxes of tables; the batch's --tabelas names the same ones. Only
// Clientes, Produtos, Fornec and Vendedores start an import; the others are kept for tables
// the window does not offer, and count as a choice all the same.
enum class CheckBox { Clientes, Produtos, ListaPrecos, Fornec, Vendedores, Receber, Pagar };

// Whether a box is ticked. The window's boxes may change during a run: each is asked when the
// run reaches its table.
using TableChoice = std::function<bool(CheckBox)>;

// A choice that does not change: the given boxes ticked.
inline TableChoice tickedBoxes(std::set<CheckBox> boxes) {
    return [boxes = std::move(boxes)](CheckBox box) { return boxes.count(box) != 0; };
}

}  // namespace engine

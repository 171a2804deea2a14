// kvlRES: the typed reading in blocks, beside the reading as text.

#include "TypedRows.h"

#include <limits>

#include "ResultImpl.h"
#include "TypedText.h"
#include "kvl/OdbcError.h"

namespace kvl {

bool TypedRows::Next(std::optional<int32_t> rowsPerBlock) {
    if (rowsPerBlock && *rowsPerBlock < 1) throw Error(kInvalidCall);
    // A failure stays, whatever became of the slot since.
    if (!block_ || !block_->failed()) {
        if (!block_) {
            Describe();
            if (columns_.empty()) return false;
            Bind(rowsPerBlock.value_or(kDefaultRowsPerBlock));
        }
        // No call on a handle the session has given up or handed to another result set.
        if (!Live()) return false;
    }
    switch (block_->Next()) {
        case odbc::Fetched::kEnd:
            return false;
        case odbc::Fetched::kFailed:
            Throw();
        case odbc::Fetched::kRow:
            break;
    }
    for (size_t n = 1; n <= columns_.size(); ++n) Convert(static_cast<uint16_t>(n));
    return true;
}

bool TypedRows::RowsLeft() {
    try {
        return Next(std::nullopt);
    } catch (const OdbcError&) {
        return false;
    }
}

const odbc::ColumnDescription& TypedRows::Description(int16_t column) {
    Describe();
    if (column < 1 || static_cast<size_t>(column) > columns_.size())
        throw Error(kSubscriptOutOfRange);
    return columns_[static_cast<size_t>(column) - 1].description;
}

void TypedRows::Unbind() {
    if (block_ && Live()) block_->Unbind();
}

void TypedRows::Reset() {
    Unbind();
    block_.reset();
    columns_.clear();
    values_.clear();
    described_ = false;
    stmt_ = 0;
}

void TypedRows::Describe() {
    if (described_ || !lease_.Live()) return;
    stmt_ = lease_.stmt();
    odbc::Api& api = *lease_.api();
    const odbc::Cursor cursor(api, stmt_);
    std::vector<odbc::ColumnDescription> descriptions;
    odbc::Return rc = cursor.Describe(descriptions);
    if (!odbc::Succeeded(rc)) throw OdbcError(rc, cursor.Diagnostics());
    columns_.clear();
    std::string typeName;
    for (size_t i = 0; i < descriptions.size(); ++i) {
        // Without a name the reported type decides alone.
        if (!odbc::Succeeded(api.ColAttributeText(stmt_, static_cast<uint16_t>(i + 1),
                                                  odbc::kColumnTypeName, typeName)))
            typeName.clear();
        columns_.push_back(Classify(std::move(descriptions[i]), typeName));
    }
    described_ = true;
}

void TypedRows::Bind(int64_t rowsPerBlock) {
    odbc::Api& api = *lease_.api();
    uint32_t getData = 0;
    api.GetInfoMask(lease_.conn(), odbc::kInfoGetDataExtensions, getData);
    std::vector<odbc::ColumnPlan> plan;
    plan.reserve(columns_.size());
    for (const TypedColumn& c : columns_) plan.push_back(PlanOf(c));
    block_.emplace(odbc::Cursor(api, stmt_));
    block_->Bind(plan, rowsPerBlock, getData);
    values_.assign(columns_.size(), TypedValue{});
}

void TypedRows::Convert(uint16_t column) {
    const Kind kind = columns_[column - 1].kind;
    TypedValue& out = values_[column - 1];
    odbc::BlockValue value = block_->Value(column);
    if (value.partial) {
        const odbc::ValueRead read = block_->ReadWhole(column, whole_);
        if (!odbc::Succeeded(read.rc)) Throw();
        value = {whole_.data(), whole_.size(), read.isNull, false};
    }
    if (value.isNull) {
        out.emplace<std::monostate>();
    } else {
        FromText(kind, {value.data, value.size}, out);
    }
}

void TypedRows::Throw() const {
    throw OdbcError(block_->failureCode(), block_->failure());
}

TypedRows& kvlRES::Impl::Tipadas() {
    if (!tipadas)
        tipadas = std::make_unique<TypedRows>(proprio ? *proprio
                                                      : static_cast<const StatementSource&>(lease));
    return *tipadas;
}

void kvlRES::Impl::ReiniciaLeitura() {
    if (tipadas) tipadas->Reset();
    leitura = Leitura::kNenhuma;
}

bool kvlRES::TemLinhasTipadas(std::optional<int32_t> LinhasPorBloco) {
    Impl& e = impl();
    if (e.leitura == Impl::Leitura::kTexto) throw Error(kInvalidCall);
    e.leitura = Impl::Leitura::kTipada;
    if (!e.Tipadas().Next(LinhasPorBloco)) return false;
    if (Lins == std::numeric_limits<int32_t>::max()) throw Error(kOverflow);
    ++Lins;
    return true;
}

const TypedValue& kvlRES::ColTipada(int16_t nIndex) const {
    const Impl& e = impl();
    if (e.leitura != Impl::Leitura::kTipada) throw Error(kInvalidCall);
    return e.tipadas->Value(nIndex);
}

const odbc::ColumnDescription& kvlRES::ColDescrição(int16_t nIndex) const {
    return impl().Tipadas().Description(nIndex);
}

}  // namespace kvl

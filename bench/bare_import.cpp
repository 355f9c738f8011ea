#include "bare_import.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <ibase.h>

#include "client_library.h"
#include "database_error.h"
#include "named_parameters.h"
#include "table_writer.h"
#include "values.h"

namespace bench {

namespace {

const db::ClientLibrary& fb() { return db::clientLibrary(); }

void check(ISC_STATUS result, const ISC_STATUS* status) {
    if (result != 0) throw db::statusError(status);
}

// 30 December 1899 as the server counts dates (days since 17 November 1858).
constexpr ISC_DATE kZeroDate = 15018;

// An XSQLDA with a buffer and a null indicator for every variable.
class Sqlda {
public:
    explicit Sqlda(short capacity) { resize(capacity); }

    XSQLDA* get() { return reinterpret_cast<XSQLDA*>(memory_.data()); }
    short count() { return get()->sqld; }
    XSQLVAR& var(std::size_t index) { return get()->sqlvar[index]; }

    void resize(short capacity) {
        memory_.assign((XSQLDA_LENGTH(capacity) + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t), {});
        get()->version = SQLDA_VERSION1;
        get()->sqln = capacity;
    }

    // Gives each described variable its own 8-byte-aligned room.
    void allocate() {
        std::size_t words = 0;
        for (short i = 0; i < count(); ++i) words += (static_cast<std::size_t>(var(std::size_t(i)).sqllen) + 2 + 7) / 8;
        buffer_.assign(words + 2, 0);
        nulls_.assign(static_cast<std::size_t>(count()), 0);
        std::size_t offset = 0;
        for (short i = 0; i < count(); ++i) {
            XSQLVAR& v = var(std::size_t(i));
            v.sqldata = reinterpret_cast<char*>(buffer_.data() + offset);
            v.sqlind = &nulls_[std::size_t(i)];
            offset += (static_cast<std::size_t>(v.sqllen) + 2 + 7) / 8;
        }
    }

    std::size_t index(std::string_view name) {
        for (short i = 0; i < count(); ++i) {
            const XSQLVAR& v = var(std::size_t(i));
            if (std::string_view(v.aliasname, static_cast<std::size_t>(v.aliasname_length)) == name)
                return std::size_t(i);
        }
        throw db::DatabaseError("no column " + std::string(name));
    }

    bool isNull(std::size_t i) { return (var(i).sqltype & 1) != 0 && *var(i).sqlind < 0; }

    std::string_view text(std::size_t i) {
        if (isNull(i)) return {};
        const XSQLVAR& v = var(i);
        if ((v.sqltype & ~1) == SQL_VARYING) {
            std::uint16_t length;
            std::memcpy(&length, v.sqldata, sizeof length);
            return {v.sqldata + 2, length};
        }
        return {v.sqldata, static_cast<std::size_t>(v.sqllen)};
    }

    ISC_LONG integer(std::size_t i) {
        if (isNull(i)) return 0;
        ISC_LONG value;
        std::memcpy(&value, var(i).sqldata, sizeof value);
        return value;
    }

    ISC_INT64 scaled(std::size_t i) {
        if (isNull(i)) return 0;
        ISC_INT64 value;
        std::memcpy(&value, var(i).sqldata, sizeof value);
        return value;
    }

    double number(std::size_t i) {
        double value = static_cast<double>(scaled(i));
        for (short k = 0; k > var(i).sqlscale; --k) value /= 10;
        return value;
    }

    ISC_DATE date(std::size_t i) {
        if (isNull(i)) return kZeroDate;
        ISC_DATE value;  // a DATE, or the date part that starts a TIMESTAMP
        std::memcpy(&value, var(i).sqldata, sizeof value);
        return value;
    }

private:
    std::vector<std::max_align_t> memory_;
    std::vector<std::int64_t> buffer_;
    std::vector<short> nulls_;
};

// One statement handle, dropped when the object goes away.
class Statement {
public:
    explicit Statement(isc_db_handle& database) {
        ISC_STATUS_ARRAY status{};
        check(fb().dsql_alloc_statement2(status, &database, &handle_), status);
    }
    ~Statement() {
        ISC_STATUS_ARRAY status{};
        fb().dsql_free_statement(status, &handle_, DSQL_drop);
    }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void prepare(isc_tr_handle& transaction, const std::string& sql, Sqlda* output) {
        ISC_STATUS_ARRAY status{};
        check(fb().dsql_prepare(status, &transaction, &handle_, static_cast<unsigned short>(sql.size()), sql.c_str(), 3,
                                output ? output->get() : nullptr),
              status);
        if (output == nullptr) return;
        if (output->count() > output->get()->sqln) {
            output->resize(output->count());
            check(fb().dsql_describe(status, &handle_, 1, output->get()), status);
        }
        output->allocate();
    }

    void describeParameters(Sqlda& input) {
        ISC_STATUS_ARRAY status{};
        check(fb().dsql_describe_bind(status, &handle_, 1, input.get()), status);
        if (input.count() > input.get()->sqln) {
            input.resize(input.count());
            check(fb().dsql_describe_bind(status, &handle_, 1, input.get()), status);
        }
    }

    void execute(isc_tr_handle& transaction, XSQLDA* input = nullptr) {
        ISC_STATUS_ARRAY status{};
        check(fb().dsql_execute(status, &transaction, &handle_, 1, input), status);
    }

    bool fetch(Sqlda& output) {
        ISC_STATUS_ARRAY status{};
        const ISC_STATUS result = fb().dsql_fetch(status, &handle_, 1, output.get());
        if (result == 100) return false;
        check(result, status);
        return true;
    }

private:
    isc_stmt_handle handle_ = 0;
};

// The parameters of an insert statement, each bound by position with a typed value or NULL.
class Parameters {
public:
    explicit Parameters(Statement& insert, std::vector<std::string> names) : names_(std::move(names)), sqlda_(1) {
        insert.describeParameters(sqlda_);
        const auto count = static_cast<std::size_t>(sqlda_.count());
        described_.resize(count);
        for (std::size_t i = 0; i < count; ++i) described_[i] = sqlda_.var(i).sqltype & ~1;
        slots_.assign(count, 0);
        nulls_.assign(count, -1);
        texts_.resize(count);
        for (std::size_t i = 0; i < count; ++i) sqlda_.var(i).sqlind = &nulls_[i];
    }

    XSQLDA* get() { return sqlda_.get(); }

    std::size_t index(std::string_view name) const {
        for (std::size_t i = 0; i < names_.size(); ++i)
            if (names_[i] == name) return i;
        throw db::DatabaseError("no parameter " + std::string(name));
    }

    void clear() {
        for (std::size_t i = 0; i < slots_.size(); ++i) {
            XSQLVAR& v = sqlda_.var(i);
            v.sqltype = static_cast<short>(described_[i] | 1);
            v.sqldata = reinterpret_cast<char*>(&slots_[i]);
            nulls_[i] = -1;
        }
    }

    void integer(std::size_t i, ISC_LONG value) { set(i, SQL_LONG, &value, sizeof value, 0); }
    void scaled(std::size_t i, ISC_INT64 value, short scale) { set(i, SQL_INT64, &value, sizeof value, scale); }
    void number(std::size_t i, double value) { set(i, SQL_DOUBLE, &value, sizeof value, 0); }
    void date(std::size_t i, ISC_DATE value) { set(i, SQL_TYPE_DATE, &value, sizeof value, 0); }
    // The empty text leaves the parameter NULL, as the writer stores it.
    void text(std::size_t i, std::string_view value) {
        if (value.empty()) return;
        texts_[i].assign(value);
        XSQLVAR& v = sqlda_.var(i);
        v.sqltype = SQL_TEXT | 1;
        v.sqlsubtype = 0;
        v.sqlscale = 0;
        v.sqllen = static_cast<short>(value.size());
        v.sqldata = texts_[i].data();
        nulls_[i] = 0;
    }

private:
    void set(std::size_t i, short type, const void* value, std::size_t size, short scale) {
        XSQLVAR& v = sqlda_.var(i);
        std::memcpy(&slots_[i], value, size);
        v.sqltype = static_cast<short>(type | 1);
        v.sqlscale = scale;
        v.sqllen = static_cast<short>(size);
        v.sqldata = reinterpret_cast<char*>(&slots_[i]);
        nulls_[i] = 0;
    }

    std::vector<std::string> names_;
    Sqlda sqlda_;
    std::vector<short> described_;
    std::vector<std::int64_t> slots_;
    std::vector<short> nulls_;
    std::vector<std::string> texts_;
};

// Both attachments and the two transactions, as the import run sets them up: the source
// reads in a transaction of its own, every write goes through one transaction over both.
class Session {
public:
    Session(const std::string& source, const std::string& destination) {
        const char destinationDpb[] = {1,   28,  6,   'S', 'Y', 'S', 'D', 'B', 'A', 29,  9,   'p', 'i', 'n', 'e', 'w',
                                       'h', 'e', 'e', 'l', 48,  10,  'I', 'S', 'O', '8', '8', '5', '9', '_', '1', ' '};
        const char sourceDpb[] = {1, 28,  6,   's', 'y', 's', 'd', 'b', 'a', 29,
                                  9, 'p', 'i', 'n', 'e', 'w', 'h', 'e', 'e', 'l'};
        attach(destination, this->destination, destinationDpb, sizeof destinationDpb);
        attach(source, this->source, sourceDpb, sizeof sourceDpb);
        start(destinoTransaction, {&this->destination, &this->source});
        start(origemTransaction, {&this->source});
    }
    ~Session() {
        ISC_STATUS_ARRAY status{};
        if (origemTransaction != 0) fb().commit_transaction(status, &origemTransaction);
        if (destinoTransaction != 0) fb().commit_transaction(status, &destinoTransaction);
        if (source != 0) fb().detach_database(status, &source);
        if (destination != 0) fb().detach_database(status, &destination);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    void commitRetaining() {
        ISC_STATUS_ARRAY status{};
        check(fb().commit_retaining(status, &destinoTransaction), status);
    }
    // The commit after a DELETE, row or restart: only when committing each row.
    void commitStep() {
        if (mode == BareMode::CommitEachRow) commitRetaining();
    }

    // Sets, runs and commits a command on the destination.
    void command(const std::string& sql) {
        Statement statement(destination);
        statement.prepare(destinoTransaction, sql, nullptr);
        statement.execute(destinoTransaction);
        commitStep();
    }

    BareMode mode = BareMode::CommitEachRow;
    std::unordered_map<std::string, ISC_LONG> cities;
    std::unordered_map<std::string, ISC_LONG> cestCodes;

    isc_db_handle source = 0;
    isc_db_handle destination = 0;
    isc_tr_handle origemTransaction = 0;
    isc_tr_handle destinoTransaction = 0;

private:
    static void attach(const std::string& connection, isc_db_handle& handle, const char* dpb, std::size_t size) {
        ISC_STATUS_ARRAY status{};
        check(fb().attach_database(status, static_cast<short>(connection.size()), connection.c_str(), &handle,
                                   static_cast<short>(size), dpb),
              status);
    }

    static void start(isc_tr_handle& handle, std::vector<isc_db_handle*> databases) {
        static const char tpb[] = {3, 15, 17, 7};
        struct Entry {
            isc_db_handle* database;
            int length;
            const char* block;
        };
        std::vector<Entry> entries;
        for (isc_db_handle* database : databases) entries.push_back({database, sizeof tpb, tpb});
        ISC_STATUS_ARRAY status{};
        check(fb().start_multiple(status, &handle, static_cast<short>(entries.size()), entries.data()), status);
    }
};

// A statement's text as the access layer sends it: each line followed by CR LF.
std::string lines(std::initializer_list<std::string> parts) {
    std::string text;
    for (const std::string& part : parts) text += part + "\r\n";
    return text;
}

std::string quoted(std::string_view text) {
    std::string literal = "'";
    for (const char c : text) {
        if (c == '\'') literal += '\'';
        literal += c;
    }
    return literal + "'";
}

// Capitals of single-byte Latin-1 text, accented letters included.
std::string upperLatin1(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7))
            c = static_cast<char>(byte - 0x20);
    }
    return upper;
}

bool blank(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) > 32) return false;
    return true;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32) text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.remove_suffix(1);
    return text;
}

std::string digits(std::string_view text) {
    std::string out;
    for (const char c : text)
        if (c >= '0' && c <= '9') out += c;
    return out;
}

std::string_view first(std::string_view text, std::size_t n) { return text.substr(0, n); }

// The source query, the DELETE and the writer's statements that every table import sends.
struct TableStatements {
    TableStatements(Session& session, const char* count, const char* select, const char* deleteSql,
                    const engine::TableDeclaration& declaration)
        : counter(session.source),
          cursor(session.source),
          read(session.destination),
          refresh(session.destination),
          insert(session.destination),
          row(32) {
        Sqlda total(1);
        counter.prepare(session.origemTransaction, lines({count}), &total);
        counter.execute(session.origemTransaction);
        counter.fetch(total);
        cursor.prepare(session.origemTransaction, lines({select}), &row);
        cursor.execute(session.origemTransaction);
        session.command(lines({deleteSql}));
        Sqlda readColumns(64);
        read.prepare(session.destinoTransaction, lines({"select * from " + std::string(declaration.table)}),
                     &readColumns);
        read.execute(session.destinoTransaction);
        Sqlda refreshColumns(100);
        refresh.prepare(session.destinoTransaction, lines({db::parseNamedParameters(declaration.refreshSql).text}),
                        &refreshColumns);
        db::ParsedSql parsedInsert = db::parseNamedParameters(declaration.insertSql);
        insert.prepare(session.destinoTransaction, lines({parsedInsert.text}), nullptr);
        parameters.emplace(insert, std::move(parsedInsert.names));
    }

    Statement counter;
    Statement cursor;
    Statement read;
    Statement refresh;
    Statement insert;
    Sqlda row;
    std::optional<Parameters> parameters;
};

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

ISC_LONG askCityCode(Session& session, std::string_view name) {
    Statement lookup(session.destination);
    Sqlda code(1);
    lookup.prepare(session.destinoTransaction,
                   lines({"SELECT CID_CODMUNICIPIO FROM CIDADE", "WHERE CID_NOME=" + quoted(upperLatin1(name))}),
                   &code);
    lookup.execute(session.destinoTransaction);
    return lookup.fetch(code) ? code.integer(0) : 0;
}

ISC_LONG cityCode(Session& session, std::string_view name) {
    if (session.mode == BareMode::CommitEachRow) return askCityCode(session, name);
    const auto [entry, added] = session.cities.try_emplace(std::string(name), 0);
    if (added) entry->second = askCityCode(session, name);
    return entry->second;
}

double importClientes(Session& session) {
    const auto start = std::chrono::steady_clock::now();
    TableStatements table(session, "SELECT COUNT(CODIGO) AS QTD FROM CLIENTE", "SELECT * FROM CLIENTE",
                          " DELETE FROM CLIENTES ", engine::kClientesDeclaration);
    Sqlda& row = table.row;
    Parameters& p = *table.parameters;
    const std::size_t codigo = row.index("CODIGO"), nome = row.index("NOME"), nascimento = row.index("NASCIMENTO"),
                      celular = row.index("CELULAR"), idMunicipio = row.index("ID_MUNICIPIO"),
                      complemento = row.index("COMPLEMENTO"), endereco = row.index("ENDERECO"),
                      numero = row.index("NUMERO"), bairro = row.index("BAIRRO"), cep = row.index("CEP"),
                      documento = row.index("CNPJ_CNPF"), cadastro = row.index("CADASTRO"), ie = row.index("IE_RG"),
                      telefone = row.index("TELEFONE"), cidade = row.index("CIDADE"), email = row.index("EMAIL");
    const std::size_t pCodigo = p.index("CODIGO"), pNome = p.index("NOME"), pNascimento = p.index("DT_NASCIMENTO"),
                      pCelular = p.index("CELULAR"), pVendedor = p.index("CODVENDEDOR"), pCodCid = p.index("COD_CID"),
                      pCompl = p.index("COMPL"), pPais = p.index("COD_PAIS"), pStatus = p.index("STATUS"),
                      pBloqueado = p.index("BLOQUEADO"), pXPais = p.index("X_PAIS"), pEndereco = p.index("ENDERECO"),
                      pNumero = p.index("NUMERO"), pBairro = p.index("BAIRRO"), pCep = p.index("CEP"),
                      pCgc = p.index("CGC"), pCpf = p.index("CPF"), pTipoCliente = p.index("TIPOCLIENTE"),
                      pTipoPessoa = p.index("TIPOPESSOA"), pCadastro = p.index("DTCADASTRO"), pIe = p.index("IE"),
                      pTelefone = p.index("TELEFONE"), pCidade = p.index("CIDADE"), pEmail = p.index("EMAIL");
    ISC_LONG last = 0;
    while (table.cursor.fetch(row)) {
        p.clear();
        last = row.integer(codigo);
        p.integer(pCodigo, last);
        p.text(pNome, first(row.text(nome), 100));
        p.date(pNascimento, row.date(nascimento));
        p.text(pCelular, first(row.text(celular), 15));
        p.integer(pVendedor, 0);
        p.integer(pCodCid, row.integer(idMunicipio));
        p.text(pCompl, row.text(complemento));
        p.scaled(pPais, 1058, 0);
        p.text(pStatus, "A");
        p.text(pBloqueado, "N");
        p.text(pXPais, "BRASIL");
        p.text(pEndereco, first(row.text(endereco), 50));
        if (!blank(row.text(numero))) p.integer(pNumero, db::parseInteger(row.text(numero)).value_or(0));
        if (!blank(row.text(bairro))) p.text(pBairro, first(row.text(bairro), 30));
        if (!blank(row.text(cep))) p.text(pCep, digits(row.text(cep)));
        const std::string document = digits(row.text(documento));
        if (document.size() == 14) {
            p.text(pCgc, document);
            p.text(pTipoCliente, "2");
            p.text(pTipoPessoa, "J");
        } else if (document.size() == 11) {
            p.text(pCpf, document);
            p.text(pTipoCliente, "1");
            p.text(pTipoPessoa, "F");
        }
        if (!row.isNull(cadastro)) p.date(pCadastro, row.date(cadastro));
        if (!blank(row.text(ie))) p.text(pIe, digits(row.text(ie)));
        p.text(pTelefone, first(row.text(telefone), 13));
        if (!blank(row.text(cidade))) p.text(pCidade, std::to_string(cityCode(session, row.text(cidade))));
        if (!blank(row.text(email))) p.text(pEmail, first(row.text(email), 50));
        table.insert.execute(session.destinoTransaction, p.get());
        session.commitStep();
    }
    session.command(lines({"ALTER SEQUENCE GEN_CODCLI RESTART WITH " + std::to_string(std::int64_t{last} + 1)}));
    if (session.mode == BareMode::OneTransaction) session.commitRetaining();
    return secondsSince(start);
}

// The CEST lookup keeps its statement open on the last result until the next lookup.
ISC_LONG cestCode(Session& session, std::optional<Statement>& lookup, std::string_view identifier) {
    if (session.mode == BareMode::OneTransaction) {
        const auto known = session.cestCodes.find(std::string(identifier));
        if (known != session.cestCodes.end()) return known->second;
    }
    lookup.reset();
    lookup.emplace(session.source);
    Sqlda code(1);
    lookup->prepare(session.origemTransaction, lines({"SELECT CODIGO FROM CEST", "WHERE ID = " + quoted(identifier)}),
                    &code);
    lookup->execute(session.origemTransaction);
    const ISC_LONG found = lookup->fetch(code) ? code.integer(0) : 0;
    if (session.mode == BareMode::OneTransaction) session.cestCodes.emplace(std::string(identifier), found);
    return found;
}

double importProdutos(Session& session) {
    const auto start = std::chrono::steady_clock::now();
    TableStatements table(session, "SELECT COUNT(CODIGO) AS QTD FROM ESTOQUE", "SELECT * FROM ESTOQUE",
                          " DELETE FROM PRODUTOS ", engine::kProdutosDeclaration);
    Sqlda& row = table.row;
    Parameters& p = *table.parameters;
    const std::size_t codigo = row.index("CODIGO"), und = row.index("UND"), barras = row.index("BARRAS"),
                      qtd = row.index("QTD"), custo = row.index("PRECO_CUSTO"), venda = row.index("PRECO_VENDA"),
                      margem = row.index("MARGEM_LUCRO"), descricao = row.index("DESCRICAO"),
                      grupo = row.index("ID_GRUPO"), st = row.index("ST"), ncm = row.index("COD_NCM"),
                      cest = row.index("COD_CEST");
    auto at = [&](const char* name) { return p.index(name); };
    const std::size_t pCodigo = at("CODIGO"), pAlternativo = at("CODIGOALTERNATIVO"), pUnidade = at("UNIDADE"),
                      pBalanca = at("BALANCA"), pBarras = at("CODBARRAS"), pModelo = at("MODELO"),
                      pStatus = at("STATUS"), pSaldo = at("SALDO"), pCusto = at("PRECOCUSTO"),
                      pVenda = at("PRECOVENDA"), pMargem = at("MARGEM"), pEstimado = at("PERC_CUSTO_ESTIMADO"),
                      pAtacado = at("PRECOATACADO"), pMargemAtacado = at("MARGEMATACADO"), pEstMin = at("ESTMIN"),
                      pEstMax = at("ESTMAX"), pAlteracao = at("DATAALTERACAO"), pTipo = at("TIPOPRODUTO"),
                      pDescricao = at("DESCRICAO"), pGrupo = at("CODGRUPO"), pBcMod = at("ICMS_BC_MOD"),
                      pValidade = at("VALIDADE"), pFatConv = at("FAT_CONV"), pKit = at("KIT"), pOrigem = at("ORIGEM"),
                      pPis = at("COD_PIS"), pCofins = at("COD_COFINS"), pFamilia = at("CODFAMILIA"), pIcms = at("ICMS"),
                      pEfetiva = at("PERC_ICMS_EFETIVA"), pSaidaDentro = at("CFOP_SAIDA_DENTRO"),
                      pSaidaFora = at("CFOP_SAIDA_FORA"), pEntradaDentro = at("CFOP_ENTRADA_DENTRO"),
                      pEntradaFora = at("CFOP_ENTRADA_FORA"), pCsosn = at("CSOSN"), pIpiSit = at("IPI_SIT"),
                      pEnqIpi = at("COD_ENQ_IPI"), pNcm = at("NCM"), pCest = at("CEST");
    std::optional<Statement> lookup;
    const ISC_DATE today = db::localNow().day + kZeroDate;
    std::string lastCode;
    while (table.cursor.fetch(row)) {
        p.clear();
        lastCode = std::to_string(row.integer(codigo));
        p.integer(pCodigo, row.integer(codigo));
        p.text(pAlternativo, first(lastCode, 25));
        const std::string_view unidade = trimmed(row.text(und));
        p.text(pUnidade, unidade);
        if (unidade == "KG") p.text(pBalanca, "S");
        p.text(pBarras, trimmed(row.text(barras)));
        p.text(pModelo, "56e45");
        p.text(pStatus, "S");
        p.number(pSaldo, row.number(qtd));
        p.scaled(pCusto, row.scaled(custo), row.var(custo).sqlscale);
        p.scaled(pVenda, row.scaled(venda), row.var(venda).sqlscale);
        p.number(pMargem, row.number(margem));
        p.scaled(pEstimado, 0, -4);
        p.scaled(pAtacado, 0, -4);
        p.number(pMargemAtacado, 0.0);
        p.scaled(pEstMin, 0, -4);
        p.scaled(pEstMax, 0, -4);
        p.date(pAlteracao, today);
        p.text(pTipo, "P");
        p.text(pDescricao, first(row.text(descricao), 60));
        p.integer(pGrupo, row.integer(grupo));
        p.text(pBcMod, "3");
        p.text(pValidade, "0");
        p.scaled(pFatConv, 1, 0);
        p.text(pKit, "N");
        p.integer(pOrigem, 0);
        p.text(pPis, "07");
        p.text(pCofins, "07");
        p.integer(pFamilia, 0);
        const std::string_view tax = row.text(st);
        if (tax == "102" || tax == "500") {
            const bool normal = tax == "102";
            p.scaled(pIcms, normal ? 170000 : 0, -4);
            p.scaled(pEfetiva, normal ? 170000 : 0, -4);
            p.text(pSaidaDentro, normal ? "5102" : "5405");
            p.text(pSaidaFora, normal ? "6102" : "6405");
            p.text(pEntradaDentro, normal ? "1102" : "1405");
            p.text(pEntradaFora, normal ? "2102" : "2405");
            p.text(pCsosn, tax);
        }
        p.text(pIpiSit, "52");
        p.text(pEnqIpi, "304");
        p.text(pNcm, trimmed(row.text(ncm)));
        if (!row.text(cest).empty()) p.text(pCest, std::to_string(cestCode(session, lookup, row.text(cest))));
        table.insert.execute(session.destinoTransaction, p.get());
        session.commitStep();
    }
    if (!lastCode.empty()) session.command(lines({"ALTER SEQUENCE CODIGO_PRODUTO RESTART WITH " + lastCode}));
    if (session.mode == BareMode::OneTransaction) session.commitRetaining();
    return secondsSince(start);
}

}  // namespace

// The sellers' own INSERT, one execution per row.
double importVendedores(Session& session) {
    const auto start = std::chrono::steady_clock::now();
    Statement cursor(session.source);
    Sqlda row(8);
    cursor.prepare(session.origemTransaction, lines({"SELECT * FROM VENDEDOR"}), &row);
    cursor.execute(session.origemTransaction);
    session.command(lines({" DELETE FROM VENDEDOR "}));
    Statement insert(session.destination);
    db::ParsedSql parsedInsert = db::parseNamedParameters(
        " INSERT INTO VENDEDOR  (VEN_CODIGO, VEN_NOME, SUP_CODIGO,VEN_EXPORTATABLET) VALUES  "
        "(:VEN_CODIGO,:VEN_NOME, 1,:VEN_EXPORTATABLET)");
    insert.prepare(session.destinoTransaction, lines({parsedInsert.text}), nullptr);
    Parameters p(insert, std::move(parsedInsert.names));
    const std::size_t id = row.index("ID"), nome = row.index("NOME");
    const std::size_t pCodigo = p.index("VEN_CODIGO"), pNome = p.index("VEN_NOME"),
                      pExporta = p.index("VEN_EXPORTATABLET");
    while (cursor.fetch(row)) {
        p.clear();
        p.integer(pCodigo, row.integer(id));
        p.text(pNome, row.text(nome));
        p.text(pExporta, "S");
        insert.execute(session.destinoTransaction, p.get());
        session.commitStep();
    }
    if (session.mode == BareMode::OneTransaction) session.commitRetaining();
    return secondsSince(start);
}

ImportTimes importWithClientLibrary(const std::string& source, const std::string& destination, BareMode mode) {
    Session session(source, destination);
    session.mode = mode;
    ImportTimes times;
    times.clientes = importClientes(session);
    times.produtos = importProdutos(session);
    times.vendedores = importVendedores(session);
    return times;
}

}  // namespace bench

/* Tavlo: the source database of the import, with the tables and columns the import reads.
   Run on a new database created with DEFAULT CHARACTER SET ISO8859_1, dialect 3.

   No primary keys or NOT NULL constraints: real source data holds repeated and missing
   codes, and the import has to cope with both. Text columns are wider than their
   destination columns so that too-long values can reach the import. */

CREATE TABLE CLIENTE (
  CODIGO        INTEGER,
  NOME          VARCHAR(200),
  NASCIMENTO    DATE,
  CELULAR       VARCHAR(100),
  ID_MUNICIPIO  INTEGER,
  COMPLEMENTO   VARCHAR(100),
  ENDERECO      VARCHAR(200),
  NUMERO        VARCHAR(100),
  BAIRRO        VARCHAR(100),
  CEP           VARCHAR(100),
  CNPJ_CNPF     VARCHAR(100),
  CADASTRO      TIMESTAMP,
  IE_RG         VARCHAR(100),
  TELEFONE      VARCHAR(100),
  CIDADE        VARCHAR(100),
  EMAIL         VARCHAR(200)
);

CREATE TABLE FORNECEDOR (
  CODIGO        INTEGER,
  NOME          VARCHAR(200),
  FANTASIA      VARCHAR(200),
  ENDERECO      VARCHAR(200),
  BAIRRO        VARCHAR(100),
  CIDADE        VARCHAR(100),
  UF            VARCHAR(100),
  NUMERO        VARCHAR(100),
  COMPLEMENTO   VARCHAR(100),
  CONTATO       VARCHAR(100),
  TELEFONE      VARCHAR(100),
  CELULAR       VARCHAR(100),
  EMAIL         VARCHAR(200),
  CEP           VARCHAR(100),
  CNPJ_CNPF     VARCHAR(100),
  IE_RG         VARCHAR(100)
);

CREATE TABLE GRUPOS (
  ID            INTEGER,
  DESCRICAO     VARCHAR(100)
);

CREATE TABLE ESTOQUE (
  CODIGO        INTEGER,
  UND           VARCHAR(100),
  BARRAS        VARCHAR(100),
  QTD           NUMERIC(15, 3),
  PRECO_CUSTO   NUMERIC(15, 4),
  PRECO_VENDA   NUMERIC(15, 4),
  MARGEM_LUCRO  NUMERIC(15, 4),
  DESCRICAO     VARCHAR(200),
  ID_GRUPO      INTEGER,
  ST            VARCHAR(5),
  COD_NCM       VARCHAR(100),
  COD_CEST      VARCHAR(100)
);

/* CEST codes by their identifier as products carry it in COD_CEST. */
CREATE TABLE CEST (
  ID            VARCHAR(20),
  CODIGO        INTEGER
);

CREATE TABLE VENDEDOR (
  ID            INTEGER,
  NOME          VARCHAR(100)
);

COMMIT;

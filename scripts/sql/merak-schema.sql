/* Merak: the destination database of the import, in the shape the import writes it.
   Run on a new database created with DEFAULT CHARACTER SET ISO8859_1, dialect 3.

   The tables written through a table writer (CLIENTES, FORNECEDORES, GRUPO, PRODUTOS) hold
   exactly the columns the writers declare, with the same types and lengths, and no column
   with a default value or a computed column: either would make the writer read every
   posted row back. No foreign keys: each table can be emptied on its own. */

CREATE TABLE CLIENTES (
  CODIGO             INTEGER NOT NULL,
  CODMAQUINA         INTEGER,
  CODVENDEDOR        INTEGER,
  CODFORMAPAG        INTEGER,
  NOME               VARCHAR(100),
  ENDERECO           VARCHAR(50),
  BAIRRO             VARCHAR(30),
  CIDADE             VARCHAR(30),
  UF                 VARCHAR(2),
  CEP                VARCHAR(9),
  CGC                VARCHAR(18),
  CPF                VARCHAR(15),
  IE                 VARCHAR(20),
  PONTOS             INTEGER,
  TIPOPESSOA         VARCHAR(1),
  CODIGOALTERNATIVO  VARCHAR(8),
  OBS                BLOB SUB_TYPE TEXT,
  APELIDO            VARCHAR(100),
  TELEFONE           VARCHAR(13),
  DTNASCIMENTO       VARCHAR(10),
  DTCADASTRO         DATE,
  TIPOCLIENTE        CHAR(1),
  REPARO             INTEGER,
  LIMITE             NUMERIC(18, 2),
  MANUTENCAO         INTEGER,
  CELULAR            VARCHAR(15),
  EMAIL              VARCHAR(50),
  TRANSPORTADORA     VARCHAR(50),
  CONTATO            VARCHAR(50),
  FABRICA            VARCHAR(50),
  REGIAO             VARCHAR(30),
  CODINDUSTRIA       INTEGER,
  TIPO               VARCHAR(20),
  COMPL              VARCHAR(50),
  NUMERO             INTEGER,
  CODCID             INTEGER,
  COD_CID            INTEGER,
  COD_PAIS           BIGINT,
  X_PAIS             VARCHAR(200),
  COD_CONTRATO       INTEGER,
  COD_ORGAO          INTEGER,
  STATUS             CHAR(1),
  CONTRIBUINTE       CHAR(1),
  BLOQUEADO          CHAR(1),
  DT_NASCIMENTO      DATE,
  CONSTRAINT PK_CLIENTES PRIMARY KEY (CODIGO)
);

CREATE TABLE FORNECEDORES (
  CODIGO             INTEGER NOT NULL,
  CODGRUPO           INTEGER,
  FORNECEDOR         VARCHAR(100),
  FANTASIA           VARCHAR(100),
  DTCADASTRO         DATE,
  ENDERECO           VARCHAR(60),
  BAIRRO             VARCHAR(30),
  CIDADE             VARCHAR(30),
  UF                 VARCHAR(2),
  CEP                VARCHAR(10),
  CNPJ               VARCHAR(18),
  IE                 VARCHAR(20),
  RAMOATIVIDADE      VARCHAR(30),
  TELEFONE           VARCHAR(14),
  FAX                VARCHAR(14),
  REPRESENTANTE      VARCHAR(60),
  TIPOFORNECEDOR     VARCHAR(1),
  NUMERO             VARCHAR(11),
  COD_CIDADE         INTEGER,
  COMPL              VARCHAR(50),
  CPF                VARCHAR(15),
  STATUS             CHAR(1),
  X_PAIS             VARCHAR(200),
  COD_PAIS           BIGINT,
  EMAIL              VARCHAR(100),
  FOR_OBS            VARCHAR(250),
  CONSTRAINT PK_FORNECEDORES PRIMARY KEY (CODIGO)
);

CREATE TABLE GRUPO (
  ID_GRUPO           INTEGER NOT NULL,
  NOME_GRUPO         VARCHAR(30),
  USA_MARGEM         VARCHAR(1),
  MARGEM             NUMERIC(18, 2),
  CONSTRAINT PK_GRUPO PRIMARY KEY (ID_GRUPO)
);

CREATE TABLE PRODUTOS (
  CODIGO              INTEGER NOT NULL,
  CODGRUPO            INTEGER,
  CODBARRAS           VARCHAR(20),
  DESCRICAO           VARCHAR(60),
  MODELO              VARCHAR(30),
  SALDO               DOUBLE PRECISION,
  PRECOCUSTO          NUMERIC(18, 2),
  PRECOVENDA          NUMERIC(18, 2),
  PONTO               INTEGER,
  ESTMIN              NUMERIC(18, 3),
  ESTMAX              NUMERIC(18, 3),
  CODFORNECEDOR       INTEGER,
  UNIDADE             VARCHAR(5),
  FOTO                BLOB,
  DATAALTERACAO       DATE,
  ICMS                NUMERIC(18, 2),
  MARGEM              DOUBLE PRECISION,
  FANTASIA            VARCHAR(30),
  PRECOATACADO        NUMERIC(18, 2),
  MARGEMATACADO       DOUBLE PRECISION,
  CODIGOFISCAL        VARCHAR(10),
  CODIGOALTERNATIVO   VARCHAR(25),
  QTDCAIXA            DOUBLE PRECISION,
  PRECODOLAR          NUMERIC(18, 2),
  TIPOPRODUTO         CHAR(1),
  CODFAMILIA          INTEGER,
  PESOCAIXA           NUMERIC(9, 2),
  IPI                 INTEGER,
  CFOP_SAIDA_DENTRO   VARCHAR(4),
  CST                 VARCHAR(3),
  ICMS_ALIQ_ST        NUMERIC(9, 2),
  ICMS_REDUCAO        NUMERIC(9, 2),
  ICMS_REDUCAO_ST     NUMERIC(9, 2),
  ICMS_BC_MOD         VARCHAR(1),
  ICMS_BC_MARGEM      NUMERIC(9, 2),
  ICMS_BC_VALOR       NUMERIC(9, 2),
  ICMS_BC_ST_MOD      VARCHAR(1),
  ICMS_BC_ST_MARGEM   NUMERIC(9, 2),
  ICMS_BC_ST_VALOR    NUMERIC(9, 2),
  COD_PIS             VARCHAR(2),
  ALIQ_PIS            NUMERIC(9, 2),
  ALIQ_PIS_VALOR      NUMERIC(9, 2),
  COD_COFINS          VARCHAR(2),
  ALIQ_COFINS         NUMERIC(9, 2),
  ALIQ_COFINS_VALOR   NUMERIC(9, 2),
  IPI_SIT             VARCHAR(2),
  ORIGEM              INTEGER,
  CSOSN               VARCHAR(3),
  NCM                 VARCHAR(8),
  CEST                VARCHAR(7),
  ICMS_PMVAST         NUMERIC(9, 2),
  CFOP_SAIDA_FORA     VARCHAR(4),
  CFOP_ENTRADA_DENTRO VARCHAR(4),
  CFOP_ENTRADA_FORA   VARCHAR(4),
  CFOP_IMPORTACAO     VARCHAR(4),
  CFOP_EXPORTACAO     VARCHAR(4),
  ICMS_IMPORTACAO     NUMERIC(9, 2),
  N_SERIE             VARCHAR(20),
  STATUS              CHAR(1),
  COD_ENQ_IPI         VARCHAR(3),
  SALDO_LOJA          DOUBLE PRECISION,
  COD_FORN_ULTIMA     INTEGER,
  DATA_ULT_COMPRA     DATE,
  PRECO_ULT_COMPRA    NUMERIC(18, 2),
  QTD_ULT_COMPRA      DOUBLE PRECISION,
  USUARIO_INC         VARCHAR(20),
  DATA_HORA_INC       TIMESTAMP,
  USUARIO_ALT         VARCHAR(20),
  DATA_HORA_ALT       TIMESTAMP,
  VALIDADE            VARCHAR(3),
  LOCALIDADE          VARCHAR(20),
  ELO_LIG             VARCHAR(2),
  OBS                 VARCHAR(250),
  FAT_CONV            NUMERIC(18, 2),
  UND_ENT             VARCHAR(3),
  BALANCA             CHAR(1),
  KIT                 CHAR(1),
  PERC_RED_BC_EFETIVA NUMERIC(18, 2),
  PERC_ICMS_EFETIVA   NUMERIC(18, 2),
  VL_BC_ST_RET        NUMERIC(18, 2),
  PERC_ST             NUMERIC(18, 2),
  VL_ICMS_RET         NUMERIC(18, 2),
  VL_BC_EFETIVA       NUMERIC(18, 2),
  VL_ICMS_EFETIVA     NUMERIC(18, 2),
  VALOR_ICMS_ST       NUMERIC(18, 2),
  VALOR_BC_ST         NUMERIC(18, 2),
  PERC_CUSTO_ESTIMADO NUMERIC(18, 2),
  CONSTRAINT PK_PRODUTOS PRIMARY KEY (CODIGO)
);

/* Sellers are written by a plain INSERT that names four columns; VEN_ATIVO shows what a
   column left out of it receives. */
CREATE TABLE VENDEDOR (
  VEN_CODIGO         INTEGER NOT NULL,
  VEN_NOME           VARCHAR(50),
  SUP_CODIGO         INTEGER,
  VEN_EXPORTATABLET  CHAR(1),
  VEN_ATIVO          CHAR(1) DEFAULT 'S',
  CONSTRAINT PK_VENDEDOR PRIMARY KEY (VEN_CODIGO)
);

/* Cities by name in capitals, with their IBGE municipal code: the client import looks a
   client's city up here. */
CREATE TABLE CIDADE (
  CID_CODMUNICIPIO   INTEGER,
  CID_NOME           VARCHAR(60)
);

/* Key sequences, restarted after each table import. */
CREATE SEQUENCE GEN_CODCLI;
CREATE SEQUENCE GEN_CODFOR;
CREATE SEQUENCE GEN_ID_GRUPO;
CREATE SEQUENCE CODIGO_PRODUTO;

COMMIT;

#pragma once

// The tables and columns of the ERP database that the program reads, with SQL Server's
// column types (SQLite keeps texts, numbers and dates by the affinity of these names).
inline constexpr const char* kDemoSchema = R"sql(
CREATE TABLE Warehouse (cWhCode NVARCHAR(10) PRIMARY KEY, cWhName NVARCHAR(20));
CREATE TABLE ComputationUnit (cComunitCode NVARCHAR(35) PRIMARY KEY, cComUnitName NVARCHAR(20));
CREATE TABLE Inventory (cInvCode NVARCHAR(20) PRIMARY KEY, cInvAddCode NVARCHAR(30),
    cInvName NVARCHAR(60), cInvStd NVARCHAR(60), cComUnitCode NVARCHAR(35));
CREATE TABLE CurrentStock (AutoID INTEGER PRIMARY KEY, cWhCode NVARCHAR(10),
    cInvCode NVARCHAR(20), cBatch NVARCHAR(60), cFree1 NVARCHAR(20), iQuantity NUMERIC(20,6),
    fInQuantity NUMERIC(20,6), fOutQuantity NUMERIC(20,6), fTransInQuantity NUMERIC(20,6),
    fTransOutQuantity NUMERIC(20,6), fStopQuantity NUMERIC(20,6));
CREATE TABLE VouchType (cVouchType NVARCHAR(2) PRIMARY KEY, cVouchName NVARCHAR(30));
CREATE TABLE Rd_Style (cRdCode NVARCHAR(5) PRIMARY KEY, cRdName NVARCHAR(12), bRdFlag INTEGER);
CREATE TABLE Department (cDepCode NVARCHAR(12) PRIMARY KEY, cDepName NVARCHAR(20));
CREATE TABLE Customer (cCusCode NVARCHAR(20) PRIMARY KEY, cCusName NVARCHAR(98),
    cCusAbbName NVARCHAR(60));
CREATE TABLE Vendor (cVenCode NVARCHAR(20) PRIMARY KEY, cVenName NVARCHAR(98),
    cVenAbbName NVARCHAR(60));
CREATE TABLE rdrecord (ID INTEGER PRIMARY KEY, bRdFlag INTEGER, cVouchType NVARCHAR(2),
    cBusType NVARCHAR(12), cSource NVARCHAR(50), cBusCode NVARCHAR(30), cWhCode NVARCHAR(10),
    dDate DATETIME, cCode NVARCHAR(30), cRdCode NVARCHAR(5), cDepCode NVARCHAR(12),
    cCusCode NVARCHAR(20), cVenCode NVARCHAR(20), cMaker NVARCHAR(20), dVeriDate DATETIME,
    cMPoCode NVARCHAR(30), cARVCode NVARCHAR(30));
CREATE TABLE rdrecords (AutoID INTEGER PRIMARY KEY, ID INTEGER, cInvCode NVARCHAR(20),
    iQuantity FLOAT, iUnitCost FLOAT, iPrice NUMERIC(19,4), cFree1 NVARCHAR(20),
    cCheckCode NVARCHAR(30), cBatch NVARCHAR(60), cPOID NVARCHAR(30));
)sql";

inline constexpr const char* kDemoIndexes = R"sql(
CREATE INDEX rdrecords_ID ON rdrecords(ID);
)sql";

#pragma once
// The program's one error type: a number and a description, as the error log records them.
// Database errors carry negative numbers; file errors the traditional ones below.
#include <QString>
#include <exception>

struct AppError : std::exception {
    enum : int {
        FileNotFound = 53,
        InputPastEnd = 62,
        DiskFull = 61,
        PathFileAccess = 75,
        PathNotFound = 76,
        BadFileNumber = 52,
        InvalidProcedureCall = 5,
        Overflow = 6,
        OutOfMemory = 7,
        TypeMismatch = 13,
    };

    AppError(int number, QString description) : number(number), description(std::move(description)) {}
    const char* what() const noexcept override { return "AppError"; }

    int number;
    QString description;
};

// The text dump of print (to the fixed file in the working directory) and dumpMatrix.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "matrix/matrix_internal.h"
#include "matrix_test_support.h"
#include "../support/cli_runner.h"

namespace {

using kelvane_test::fill;

const char* const kDumpFile = "c:\\matDump.dat";

// The dump is text written in text mode: on Windows its lines end in CR LF, which reading
// in text mode turns back into LF.
std::string readText(const std::string& path)
{
    std::ifstream in(path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Removes the fixed dump file before and after each test.
class MatrixDump : public ::testing::Test {
protected:
    void SetUp() override { std::remove(kDumpFile); }
    void TearDown() override { std::remove(kDumpFile); }
};

const std::string kFullDump =
    "\n *** Two-dimensional array (matrix): T \n\n"
    "       col 0   col 1\n\n"
    "row 0  1.0000  2.5000 \n"
    "row 1  -3.0000  0.1235 \n";

} // namespace

// print appends to the fixed file: a full matrix, the stored triangle of a packed one, a
// view as seen (with no title) and an empty matrix.
TEST_F(MatrixDump, PrintAppendsEachKindToTheFixedFile)
{
    Matrix m(2, 2), p(3, 3, Matrix::SymmetricPacked), empty(2, 3, Matrix::Diagonal);
    fill(m, {1, 2.5, -3, 0.123456});
    fill(p, {1, 2, 3, 4, 5, 6});
    double data[2] = {7, 8}; // 1 x 2, seen as 2 x 1
    Matrix v(1, 2, Matrix::TransposedView, data);
    m.print("T");
    m.print("T");
    p.print("P");
    v.print(nullptr);
    empty.print("E");
    EXPECT_EQ(readText(kDumpFile), kFullDump + kFullDump +
                                       "\n *** Two-dimensional array (matrix): P \n\n"
                                       "       col 0   col 1   col 2\n\n"
                                       "row 0  1.0000 \n"
                                       "row 1  2.0000  3.0000 \n"
                                       "row 2  4.0000  5.0000  6.0000 \n"
                                       "\n *** Two-dimensional array (matrix):  \n\n"
                                       "       col 0\n\n"
                                       "row 0  7.0000 \n"
                                       "row 1  8.0000 \n"
                                       "\n *** Two-dimensional array (matrix): E \n\n"
                                       "    \n\n");
}

TEST_F(MatrixDump, DumpMatrixWritesEveryColumnToItsPath)
{
    const std::string path = kelvane_test::scratchPath("dump.txt");
    std::remove(path.c_str());
    Matrix p(2, 2, Matrix::SymmetricPacked);
    fill(p, {1, 2, 3});
    EXPECT_EQ(dumpMatrix(path.c_str(), &p, "P"), 0);
    Matrix m(2, 2);
    fill(m, {1, 2.5, -3, 0.123456});
    EXPECT_EQ(dumpMatrix(path.c_str(), &m, "T"), 0);
    EXPECT_EQ(readText(path),
              "\n *** Two-dimensional array (matrix): P \n\n"
              "       col 0   col 1\n\n"
              "row 0  1.0000  2.0000 \n"
              "row 1  2.0000  3.0000 \n" +
                  kFullDump);
    std::remove(path.c_str());
    EXPECT_EQ(dumpMatrix((path + ".missing/x").c_str(), &m, "T"), EOF);
    EXPECT_EQ(dumpMatrix(nullptr, &m, "T"), EOF);
}

#if defined(_WIN32)
// On Windows "c:\matDump.dat" is the root folder of drive C, whatever the working folder,
// and the text mode of the dump ends its lines in CR LF.
TEST_F(MatrixDump, OnWindowsTheFileIsInTheRootOfDriveC)
{
    Matrix m(2, 2);
    fill(m, {1, 2.5, -3, 0.123456});
    m.print("T");
    EXPECT_TRUE(std::filesystem::is_regular_file("C:/matDump.dat"));
    EXPECT_NE(std::filesystem::current_path().root_path(), std::filesystem::path("C:\\"));
    EXPECT_FALSE(std::filesystem::exists("matDump.dat")); // not in the working folder
    std::string crlf;
    for (char c : kFullDump) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(kelvane_test::readWholeFile("C:\\MATDUMP.DAT"), crlf); // names ignore case
}
#endif

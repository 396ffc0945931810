/* The floor of writing a workbook: libxlsxwriter in its constant-memory mode writing given
 * cells and nothing else. The cells come from a dump that modern_export_bench makes of the same
 * grid; they are read into memory first, and only the writing is timed.
 *   xlsx_floor CELLS_DUMP OUT.xlsx
 * The dump: rows and columns (32 bits each), then per cell a type byte: 0 empty, 1 text (a 32-bit
 * length and the UTF-8 bytes), 2 number, 3 date, 4 date with a time (a 64-bit double each).
 * Prints the seconds the writing took. */
#include <xlsxwriter.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

struct cell {
    unsigned char type;
    double number;
    char* text;
};

static int read_exactly(FILE* in, void* to, size_t size) {
    return fread(to, 1, size, in) == size;
}

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: xlsx_floor CELLS_DUMP OUT.xlsx\n");
        return 2;
    }
    FILE* in = fopen(argv[1], "rb");
    uint32_t rows = 0, columns = 0;
    if (!in || !read_exactly(in, &rows, 4) || !read_exactly(in, &columns, 4))
        return 1;
    struct cell* cells = calloc((size_t)rows * columns, sizeof *cells);
    for (size_t i = 0; i < (size_t)rows * columns; ++i) {
        struct cell* c = &cells[i];
        if (!read_exactly(in, &c->type, 1))
            return 1;
        if (c->type == 1) {
            uint32_t length = 0;
            if (!read_exactly(in, &length, 4))
                return 1;
            c->text = malloc(length + 1);
            if (!read_exactly(in, c->text, length))
                return 1;
            c->text[length] = 0;
        } else if (c->type >= 2 && !read_exactly(in, &c->number, 8)) {
            return 1;
        }
    }
    fclose(in);

    struct timespec start, end;
    clock_gettime(CLOCK_MONOTONIC, &start);
    lxw_workbook_options options = {.constant_memory = LXW_TRUE, .tmpdir = "/tmp"};
    lxw_workbook* book = workbook_new_opt(argv[2], &options);
    lxw_worksheet* sheet = workbook_add_worksheet(book, NULL);
    lxw_format* date = workbook_add_format(book);
    format_set_num_format(date, "yyyy/m/d;@");
    lxw_format* date_time = workbook_add_format(book);
    format_set_num_format(date_time, "yyyy/m/d hh:mm:ss;@");
    for (uint32_t r = 0; r < rows; ++r)
        for (uint32_t k = 0; k < columns; ++k) {
            const struct cell* c = &cells[(size_t)r * columns + k];
            if (c->type == 1)
                worksheet_write_string(sheet, r, (lxw_col_t)k, c->text, NULL);
            else if (c->type >= 2)
                worksheet_write_number(sheet, r, (lxw_col_t)k, c->number,
                                       c->type == 3 ? date : c->type == 4 ? date_time : NULL);
        }
    if (workbook_close(book) != LXW_NO_ERROR)
        return 1;
    clock_gettime(CLOCK_MONOTONIC, &end);
    printf("%.6f\n", (double)(end.tv_sec - start.tv_sec) + (end.tv_nsec - start.tv_nsec) / 1e9);
    return 0;
}

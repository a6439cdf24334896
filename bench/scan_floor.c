/* The floor for a folder scan: list the folder and, for each plain file, open it, read its
 * first 4 KiB, ask its length and close it. Nothing the imaging component does can be cheaper.
 * Usage: folio_scan_floor FOLDER (prints the file count and the bytes read). */
#define _DEFAULT_SOURCE
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    DIR* folder = opendir(argv[1]);
    if (!folder) {
        perror(argv[1]);
        return 1;
    }
    const int folderFd = dirfd(folder);
    unsigned char head[4096];
    long files = 0;
    long long bytes = 0, lengths = 0;
    for (struct dirent* entry; (entry = readdir(folder)) != NULL;) {
        if (entry->d_type != DT_REG && entry->d_type != DT_UNKNOWN) continue;
        const int fd = openat(folderFd, entry->d_name, O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat status;
        const ssize_t got = read(fd, head, sizeof head);
        if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
            ++files;
            bytes += got > 0 ? got : 0;
            lengths += status.st_size;
        }
        close(fd);
    }
    closedir(folder);
    printf("%ld files, %lld bytes read, %lld bytes in all\n", files, bytes, lengths);
    return 0;
}

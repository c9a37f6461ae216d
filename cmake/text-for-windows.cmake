# Turns a UTF-8 text with LF line ends (IN) into one Windows' Notepad opens as
# UTF-8 whatever its version (OUT): a byte-order mark first, CR LF line ends.
#   cmake -DIN=docs/guide.md -DOUT=bin/readme.txt -P cmake/text-for-windows.cmake
string(ASCII 239 187 191 byte_order_mark)
file(READ ${IN} text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${OUT} "${byte_order_mark}${text}")

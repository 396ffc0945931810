#!/bin/bash
# Certificates for the encrypted connections of the tests, made fresh for each run:
#   ca.pem                 the authority that the client is told to trust
#   localhost.pem/.key     the server as "localhost" and 127.0.0.1, signed by it
#   other-host.pem/.key    the server as erp.example.com, signed by it
#   stranger.pem/.key      the server as "localhost", signed by another authority
#   not-a-certificate.pem  a file of text
#   make-test-certificates.sh FOLDER
set -euo pipefail
dir=$1
rm -rf "$dir"
mkdir -p "$dir"
cd "$dir"

authority() { # NAME
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=stockquery test $1" \
        -keyout "$1.key" -out "$1.pem" 2>/dev/null
}
server() { # NAME AUTHORITY SUBJECT-ALT-NAMES
    openssl req -newkey rsa:2048 -nodes -subj "/CN=$1" -keyout "$1.key" -out "$1.csr" 2>/dev/null
    printf 'subjectAltName=%s\nextendedKeyUsage=serverAuth\n' "$3" >"$1.ext"
    openssl x509 -req -in "$1.csr" -CA "$2.pem" -CAkey "$2.key" -CAcreateserial -days 2 \
        -extfile "$1.ext" -out "$1.pem" 2>/dev/null
}

authority ca
authority other-ca
server localhost ca "DNS:localhost,IP:127.0.0.1"
server other-host ca "DNS:erp.example.com"
server stranger other-ca "DNS:localhost,IP:127.0.0.1"
echo "no certificate here" >not-a-certificate.pem

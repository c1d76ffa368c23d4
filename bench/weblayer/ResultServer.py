# Serves a folder on 127.0.0.1 and writes the body of a POST to /result into a file.
# Usage: python3 ResultServer.py FOLDER RESULT_FILE; prints the port it listens on.
import functools
import http.server
import os
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    def do_POST(self):
        length = int(self.headers.get("Content-Length", 0))
        body = self.rfile.read(length)
        with open(sys.argv[2] + ".part", "wb") as f:
            f.write(body)
        # Whole or not at all: the reader waits for the file to appear.
        os.replace(sys.argv[2] + ".part", sys.argv[2])
        self.send_response(204)
        self.end_headers()

    def log_message(self, *args):
        pass


server = http.server.ThreadingHTTPServer(
    ("127.0.0.1", 0), functools.partial(Handler, directory=sys.argv[1]))
print(server.server_address[1], flush=True)
server.serve_forever()

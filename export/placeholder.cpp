namespace varnex {}
